// Drawing pictures into tiny surfaces: row copies, scaling, depth test, opacity, alpha levels, clipping.
#include "media/Picture.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vornel {
namespace {

using Words = std::vector<uint32_t>;
constexpr Fixed kHalf = 0x4000;
constexpr uint32_t kA = 0xE0000001;
constexpr uint32_t kB = 0xE0000002;
constexpr uint32_t kWhite = 0xE0FFFFFF;
constexpr uint32_t kTeal = 0x00123456;

Array<uint32_t> array(const Words& words) {
    Array<uint32_t> result = allocInt<uint32_t>(static_cast<int32_t>(words.size()));
    for (int32_t i = 0; i < result.length(); ++i) {
        result[i] = words[i];
    }
    return result;
}

Words words(const Array<uint32_t>& array) { return Words(array.data(), array.data() + array.length()); }

Ref<Picture> picture(int16_t width, int16_t height, const Words& pixels, bool opaque = false) {
    Ref<Picture> result(new Picture);
    result->m_width = width;
    result->m_height = height;
    result->m_opaque = opaque ? 1 : 0;
    result->m_pixels = array(pixels);
    return result;
}

// Draws with the whole surface as the clip and the picture's corner at pixel (x, y).
int32_t draw(const Ref<Picture>& picture, const Array<uint32_t>& surface, int32_t stride, int32_t x, int32_t y,
             Fixed inverseScale = kFixedOne, int32_t depth = 5, Fixed opacity = kFixedOne) {
    const int32_t rows = surface.length() / stride;
    return picture->blit(surface, stride, rows, 0, 0, stride, rows, toFixed(x), toFixed(y), inverseScale, depth,
                         opacity);
}

const Words kSquare = {0xE1112233, 0xE0445566, 0xE1778899, 0xE0AABBCC};

TEST(Blit, OpaquePictureAtNaturalSizeCopiesItsWordsUnchanged) {
    Array<uint32_t> surface = array(Words(12));
    EXPECT_EQ(draw(picture(2, 2, kSquare, true), surface, 4, 1, 1), 0);
    EXPECT_EQ(words(surface), (Words{0, 0, 0, 0, 0, 0xE1112233, 0xE0445566, 0, 0, 0xE1778899, 0xE0AABBCC, 0}));
}

TEST(Blit, SampledDrawAtNaturalSizeWritesTheColoursUnderTheDrawingDepth) {
    Array<uint32_t> surface = array(Words(12));
    EXPECT_EQ(draw(picture(2, 2, kSquare), surface, 4, 1, 1), 0);
    EXPECT_EQ(words(surface), (Words{0, 0, 0, 0, 0, 0x05112233, 0x05445566, 0, 0, 0x05778899, 0x05AABBCC, 0}));
}

TEST(Blit, HalfSizeSamplesEveryOtherPixel) {
    Array<uint32_t> surface = array(Words(6));
    draw(picture(3, 2, {kA, 0xE0000002, 0xE0000003, 0xE0000004, 0xE0000005, 0xE0000006}), surface, 3, 0, 0,
         2 * kFixedOne, 1);
    EXPECT_EQ(words(surface), (Words{0x01000001, 0x01000003, 0, 0, 0, 0}));
}

TEST(Blit, DoubleSizeRepeatsEveryPixel) {
    Array<uint32_t> surface = array(Words(15));
    draw(picture(2, 1, {kA, kB}), surface, 5, 0, 0, kHalf, 0xE0);
    EXPECT_EQ(words(surface), (Words{kA, kA, kB, kB, 0, kA, kA, kB, kB, 0, 0, 0, 0, 0, 0}));
}

TEST(Blit, NearerSurfacePixelsHideThePictureAndAreCounted) {
    Array<uint32_t> surface = array({0x03111111, 0x07222222, 0x00333333, 0x05444444});
    EXPECT_EQ(draw(picture(4, 1, Words(4, kWhite)), surface, 4, 0, 0), 1);
    EXPECT_EQ(words(surface), (Words{0x03111111, 0x05FFFFFF, 0x05FFFFFF, 0x05FFFFFF}));
}

TEST(Blit, PartialOpacityMixesChannelsAndClearsTheDepth) {
    Array<uint32_t> black = array({0});
    draw(picture(1, 1, {0xE0FF8040}, true), black, 1, 0, 0, kFixedOne, 9, kHalf);
    EXPECT_EQ(black[0], 0x007F4020u);
    Array<uint32_t> grey = array({0x0A808080});
    draw(picture(1, 1, {0x80404040}), grey, 1, 0, 0, kFixedOne, 9, kHalf);  // 0x40 / 2 + 0x80 × 3/4
    EXPECT_EQ(grey[0], 0x00808080u);
}

TEST(Blit, FullOpacityAddsTheSurfaceShareOfEachAlphaLevel) {
    Array<uint32_t> grey = array({0x00808080});
    draw(picture(1, 1, {0x80404040}), grey, 1, 0, 0, kFixedOne, 9);
    EXPECT_EQ(grey[0], 0x09808080u);
    const uint32_t shown[] = {0x707070, 0x606060, 0x505050, 0x404040, 0x303030, 0x202020};
    for (uint32_t alpha = 1; alpha <= 6; ++alpha) {
        Array<uint32_t> surface = array({0x04808080});  // farther than the drawing depth
        draw(picture(1, 1, {alpha << 29 | 0x010203}), surface, 1, 0, 0, kFixedOne, 3);
        EXPECT_EQ(surface[0], 0x03000000u | (shown[alpha - 1] + 0x010203)) << alpha;
    }
}

TEST(Blit, TransparentRunsSkipTheirScaledSpan) {
    // The run count claims three more transparent pixels: they are skipped without a look.
    Array<uint32_t> surface = array(Words(4, kTeal));
    EXPECT_EQ(draw(picture(4, 1, {0x03000000, kWhite, kWhite, kWhite}), surface, 4, 0, 0), 0);
    EXPECT_EQ(words(surface), Words(4, kTeal));
    Array<uint32_t> doubled = array(Words(6, kTeal));
    draw(picture(3, 1, {0x01000000, 0, kWhite}), doubled, 6, 0, 0, kHalf);
    EXPECT_EQ(words(doubled), (Words{kTeal, kTeal, kTeal, kTeal, 0x05FFFFFF, 0x05FFFFFF}));
    // At an extreme magnification the skip runs far past the clip and simply ends the row.
    Array<uint32_t> huge = array(Words(8, kTeal));
    draw(picture(2, 1, {0x1F000000, kWhite}), huge, 8, 0, 0, 1);
    EXPECT_EQ(words(huge), Words(8, kTeal));
}

TEST(Blit, NothingIsDrawnOutsideTheSurfaceOrWithoutPixels) {
    Ref<Picture> square = picture(2, 2, kSquare, true);
    Array<uint32_t> surface = array(Words(12, kTeal));
    EXPECT_EQ(square->blit(surface, 4, 3, 10, 10, 20, 20, toFixed(10), toFixed(10), kFixedOne, 5, kFixedOne), 0);
    EXPECT_EQ(draw(square, surface, 4, -2, 0), 0);
    EXPECT_EQ(draw(square, surface, 4, 0, 0, 0), 1);
    EXPECT_EQ(draw(picture(2, 2, {}), surface, 4, 0, 0), 0);                     // evicted
    EXPECT_EQ(draw(picture(2, 2, Words(3, kWhite)), surface, 4, 0, 0, 2 * kFixedOne), 0);  // short
    EXPECT_EQ(words(surface), Words(12, kTeal));
}

// A sprite at left L and scale s clips to [L, L + width × s) and inverse scale 2^30 / s: the
// blit's own clipping must never take a pixel of that away.
TEST(Blit, ASpritesOwnClipIsDrawnWholeAtAnyScale) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 500; ++trial) {
        const auto width = static_cast<int16_t>(1 + random() % 8);
        const auto height = static_cast<int16_t>(1 + random() % 8);
        const auto scale = static_cast<Fixed>(0x800 + random() % 0x40000);
        const auto left = static_cast<Fixed>(random() % toFixed(8));
        const int32_t right = fromFixed(left) + ((width * scale) >> 15);
        const int32_t bottom = (height * scale) >> 15;
        Array<uint32_t> surface = array(Words(80 * 80));
        picture(width, height, Words(width * height, kWhite))
            ->blit(surface, 80, 80, fromFixed(left), 0, right, bottom, left, 0, (1 << 30) / scale, 5, kFixedOne);
        for (int32_t i = 0; i < surface.length(); ++i) {
            const bool inside = i % 80 >= fromFixed(left) && i % 80 < right && i / 80 < bottom;
            ASSERT_EQ(surface[i], inside ? 0x05FFFFFFu : 0u) << trial << " at " << i;
        }
    }
}

TEST(Blit, AnyClipPositionAndScaleStaysInsideBothArrays) {
    std::mt19937 random(11);
    auto coordinate = [&random] { return static_cast<int32_t>(random() % 30) - 10; };
    const Fixed opacities[] = {kFixedOne, kHalf, 0, 0x9000};
    for (int trial = 0; trial < 3000; ++trial) {
        const auto width = static_cast<int16_t>(1 + random() % 6);
        const auto height = static_cast<int16_t>(1 + random() % 6);
        Words pixels(width * height);
        for (uint32_t& word : pixels) {
            word = static_cast<uint32_t>(random());
        }
        const Fixed inverseScale = random() % 4 == 0 ? kFixedOne : static_cast<Fixed>(random() % 0x30000);
        picture(width, height, pixels, random() % 2 == 0)
            ->blit(array(Words(35, static_cast<uint32_t>(random()))), 7, 5, coordinate(), coordinate(),
                   coordinate(), coordinate(), toFixed(coordinate()) + static_cast<Fixed>(random() % 0x8000),
                   toFixed(coordinate()), inverseScale, static_cast<int32_t>(random() % 300), opacities[random() % 4]);
    }
}

}  // namespace
}  // namespace vornel
