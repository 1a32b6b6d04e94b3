// Rectangle fills against a plain model of each blending mode, channel by channel: random
// colours of every opacity over random surfaces, rectangles of every width (the fills work
// on several pixels at a time) and rectangles reaching past the surface, in every table of
// pixel kernels the machine has.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "kernels/ScopedPixelKernels.h"
#include "sprites/Drawing.h"

namespace vornel {
namespace {

using Words = std::vector<uint32_t>;

uint32_t modelFillPixel(uint32_t old, uint32_t colour) {
    const uint32_t alpha = colour >> 24;
    if (alpha == 0xFF) {
        return colour;
    }
    if (alpha == 0x80) {
        return ((old >> 1) & 0x7F7F7F) + ((colour >> 1) & 0x7F7F7F);
    }
    if (alpha == 0xC0) {
        const uint32_t half = (colour >> 1) & 0x7F7F7F;
        return ((old >> 2) & 0x3F3F3F) + half + ((half >> 1) & 0x3F3F3F);
    }
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t before = old >> shift & 0xFF;
        const uint32_t after = colour >> shift & 0xFF;
        mixed |= (((before * (255 - alpha)) >> 8) + ((after * alpha) >> 8)) << shift;
    }
    return mixed;
}

void expectFillsAsModelled() {
    std::mt19937 random(5);
    const auto between = [&random](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    for (int32_t n = 0; n < 3000; ++n) {
        const int32_t stride = between(1, 40);
        const int32_t rows = between(1, 12);
        const uint32_t alpha = static_cast<uint32_t>(
            between(0, 3) == 0 ? between(0, 4) == 0 ? 0 : between(0, 1) == 0 ? 0x80 : 0xC0 : between(0, 255));
        const uint32_t colour = alpha << 24 | (static_cast<uint32_t>(random()) & 0xFFFFFF);
        const int32_t left = between(-4, stride);
        const int32_t top = between(-4, rows);
        const int32_t right = between(left - 2, stride + 4);
        const int32_t bottom = between(top - 2, rows + 4);
        Words before(static_cast<std::size_t>(stride) * rows);
        for (uint32_t& word : before) {
            word = static_cast<uint32_t>(random());
        }

        Words expected = before;
        for (int32_t y = std::max(top, 0); alpha != 0 && y < std::min(bottom, rows); ++y) {
            for (int32_t x = std::max(left, 0); x < std::min(right, stride); ++x) {
                uint32_t& pixel = expected[static_cast<std::size_t>(y * stride + x)];
                pixel = modelFillPixel(pixel, colour);
            }
        }
        Array<uint32_t> surface = allocInt<uint32_t>(stride * rows);
        std::copy(before.begin(), before.end(), surface.data());
        Drawing::fillRect(surfaceOf(surface, stride, rows), {left, top, right, bottom}, colour);
        ASSERT_EQ(Words(surface.data(), surface.data() + surface.length()), expected)
            << "fill " << n << ": colour 0x" << std::hex << colour << std::dec << " over " << left << "," << top
            << "-" << right << "," << bottom << " of " << stride << "x" << rows;
    }
}

class FillModel : public testing::TestWithParam<const PixelKernels*> {};

TEST_P(FillModel, RandomFillsMixAsModelled) {
    const ScopedPixelKernels kernels(*GetParam());
    expectFillsAsModelled();
}

INSTANTIATE_TEST_SUITE_P(Kernels, FillModel, testing::ValuesIn(PixelKernels::supported()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace vornel
