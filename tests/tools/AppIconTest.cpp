// The application icon: transparent around its tile, crisp table lines at the smallest size a
// desktop asks for, and the bat and ball where a glance finds them.
#include "art/AppIcon.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

uint32_t red(uint32_t argb) { return (argb >> 16) & 0xFF; }
uint32_t green(uint32_t argb) { return (argb >> 8) & 0xFF; }
uint32_t blue(uint32_t argb) { return argb & 0xFF; }

TEST(AppIconTest, TheTileIsOpaqueAndItsSurroundingsClear) {
    for (const int32_t size : {48, 256}) {
        const RgbaImage icon = AppIcon::draw(size);
        ASSERT_EQ(icon.width(), size);
        ASSERT_EQ(icon.height(), size);
        EXPECT_EQ(RgbaImage::alpha(icon.pixel(0, 0)), 0u) << size;
        EXPECT_EQ(RgbaImage::alpha(icon.pixel(size - 1, 0)), 0u) << size;
        EXPECT_EQ(RgbaImage::alpha(icon.pixel(size / 2, 0)), 0u) << size;  // room above the tile
        EXPECT_EQ(RgbaImage::alpha(icon.pixel(size / 5, size * 3 / 4)), 0xFFu) << size;
    }
}

bool isLineWhite(uint32_t pixel) {
    return green(pixel) > 0xE0;
}

bool isTableBlue(uint32_t pixel) {
    return blue(pixel) > green(pixel) + 0x30 && green(pixel) < 0x80;
}

// In the lower left quarter, away from the bat, the ball and the corner's curve, every pixel
// is table blue or line white: the lines' edges fall on whole pixels and are not smeared
// over two. A row crosses the border's side, a column its bottom.
TEST(AppIconTest, TheTableLinesAreCrispAtFortyEightPixels) {
    const RgbaImage icon = AppIcon::draw(48);
    int32_t whiteInRow = 0;
    for (int32_t x = 4; x < 19; ++x) {
        const uint32_t pixel = icon.pixel(x, 34);
        EXPECT_TRUE(isLineWhite(pixel) || isTableBlue(pixel)) << "x " << x << ": " << std::hex << pixel;
        whiteInRow += isLineWhite(pixel) ? 1 : 0;
    }
    EXPECT_EQ(whiteInRow, 2);
    int32_t whiteInColumn = 0;
    for (int32_t y = 27; y < 44; ++y) {
        const uint32_t pixel = icon.pixel(14, y);
        EXPECT_TRUE(isLineWhite(pixel) || isTableBlue(pixel)) << "y " << y << ": " << std::hex << pixel;
        whiteInColumn += isLineWhite(pixel) ? 1 : 0;
    }
    EXPECT_EQ(whiteInColumn, 2);
}

TEST(AppIconTest, TheBatIsRedAndTheBallOrange) {
    const RgbaImage icon = AppIcon::draw(128);
    const uint32_t bat = icon.pixel(80, 80);
    EXPECT_GT(red(bat), 0x90u);
    EXPECT_LT(green(bat), 0x40u);
    const uint32_t ball = icon.pixel(40, 40);
    EXPECT_GT(red(ball), green(ball));
    EXPECT_GT(green(ball), blue(ball) + 0x30);
}

TEST(AppIconTest, SizesBelowTheSmallestAreHeldToIt) {
    EXPECT_EQ(AppIcon::draw(2).width(), AppIcon::kSmallestSize);
    EXPECT_EQ(AppIcon::draw(-48).height(), AppIcon::kSmallestSize);
}

}  // namespace
}  // namespace vornel
