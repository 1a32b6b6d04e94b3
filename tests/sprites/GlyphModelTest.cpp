// Glyph painting against a plain model of it, one pixel at a time: random glyphs whose runs
// wrap over several rows, drawn at random places, clipped by random rectangles and the
// surface's edges, opaque with their shadows and translucent without.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "../media/BankFiles.h"
#include "sprites/Font.h"

namespace vornel {
namespace {

using Words = std::vector<uint32_t>;

constexpr int32_t kStride = 24;
constexpr int32_t kRows = 20;

struct Glyph {
    int32_t width;
    test::Bytes runs;  // count << 4 | level, count 0 meaning 16
};

struct Placement {
    int32_t x;
    int32_t y;
    int32_t clipLeft;
    int32_t clipTop;
    int32_t clipRight;
    int32_t clipBottom;
    uint32_t colour;
    Fixed opacity;
};

uint32_t modelBlend(uint32_t old, uint32_t colour, int32_t level) {
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto before = static_cast<int32_t>(old >> shift & 0xFF);
        const auto after = static_cast<int32_t>(colour >> shift & 0xFF);
        mixed |= static_cast<uint32_t>(before + (((after - before) * level) >> 4)) << shift;
    }
    return mixed;
}

uint32_t modelShade(uint32_t pixel, int32_t level) {
    return level < 8 ? (pixel & 0xFFFFFF) - ((pixel >> 2) & 0x3F3F3F) : (pixel >> 1) & 0x7F7F7F;
}

// Each pixel of each run in turn: painted if it lies inside the clip (cut to the surface),
// with its shadow below and to the right when that lies inside too.
void modelDraw(const Glyph& glyph, Words& surface, const Placement& at) {
    const int32_t clipLeft = std::max(at.clipLeft, 0);
    const int32_t clipTop = std::max(at.clipTop, 0);
    const int32_t clipRight = std::min(at.clipRight, kStride);
    const int32_t clipBottom = std::min(at.clipBottom, kRows);
    const bool opaque = at.opacity == kFixedOne;
    int32_t column = 0;
    int32_t penY = at.y;
    for (const uint8_t run : glyph.runs) {
        const int32_t count = (run >> 4) == 0 ? 16 : run >> 4;
        int32_t level = run & 15;
        if (!opaque) {
            level = std::clamp(static_cast<int32_t>((static_cast<int64_t>(level) * at.opacity) >> kFixedShift), 0,
                               Font::kFullCoverage);
        }
        for (int32_t i = 0; i < count; ++i) {
            const int32_t penX = at.x + column;
            if (level != 0 && penX >= clipLeft && penX < clipRight && penY >= clipTop && penY < clipBottom) {
                uint32_t& pixel = surface[static_cast<std::size_t>(penY * kStride + penX)];
                pixel = level == Font::kFullCoverage ? at.colour : modelBlend(pixel, at.colour, level);
                if (opaque && penX < clipRight - 1 && penY < clipBottom - 1) {
                    uint32_t& below = surface[static_cast<std::size_t>((penY + 1) * kStride + penX + 1)];
                    below = modelShade(below, level);
                }
            }
            if (++column == glyph.width) {
                column = 0;
                ++penY;
            }
        }
    }
}

// A font of the one glyph 'A', written as a font file and loaded.
Ref<Font> fontOf(test::BankFolder& folder, const Glyph& glyph) {
    test::Bytes file;
    for (uint32_t value : {3u, 9u, 0u, uint32_t{'A'}, uint32_t{'A'}, static_cast<uint32_t>(glyph.runs.size()),
                           static_cast<uint32_t>(glyph.width), static_cast<uint32_t>(glyph.runs.size())}) {
        test::appendVarInt(file, value);
    }
    file.insert(file.end(), glyph.runs.begin(), glyph.runs.end());
    folder.writeFile("model.bin", file);
    Ref<Font> font = new Font();
    return font->load(*String::fromLiteral("model.bin")) ? font : nullptr;
}

TEST(GlyphModel, RandomGlyphsPaintAsModelled) {
    std::mt19937 random(7);
    const auto between = [&random](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    test::BankFolder folder;
    for (int32_t n = 0; n < 150; ++n) {
        Glyph glyph{between(1, 12), {}};
        for (int32_t runs = between(1, 14); runs > 0; --runs) {
            glyph.runs.push_back(static_cast<uint8_t>(between(0, 255)));
        }
        Ref<Font> font = fontOf(folder, glyph);
        ASSERT_TRUE(font);
        for (int32_t place = 0; place < 4; ++place) {
            Placement at{between(-8, kStride), between(-8, kRows), between(-3, kStride), between(-3, kRows), 0, 0,
                         static_cast<uint32_t>(random()), between(0, 2) == 0 ? between(0, kFixedOne) : kFixedOne};
            at.clipRight = between(at.clipLeft, kStride + 3);
            at.clipBottom = between(at.clipTop, kRows + 3);
            Words before(kStride * kRows);
            for (uint32_t& word : before) {
                word = static_cast<uint32_t>(random());
            }

            Words expected = before;
            modelDraw(glyph, expected, at);
            Array<uint32_t> surface = allocInt<uint32_t>(kStride * kRows);
            std::copy(before.begin(), before.end(), surface.data());
            font->drawChar('A', surface, kStride, kRows, at.clipLeft, at.clipTop, at.clipRight, at.clipBottom,
                           toFixed(at.x), toFixed(at.y), at.colour, at.opacity);
            ASSERT_EQ(Words(surface.data(), surface.data() + surface.length()), expected)
                << "glyph " << n << " (width " << glyph.width << ") at " << at.x << "," << at.y << " clip "
                << at.clipLeft << "," << at.clipTop << "-" << at.clipRight << "," << at.clipBottom;
        }
    }
}

}  // namespace
}  // namespace vornel
