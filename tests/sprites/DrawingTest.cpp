// Rectangle fills in their five modes, fills at an opacity, and gradient rows.
#include "sprites/Drawing.h"

#include <gtest/gtest.h>

#include "sprites/Psprite.h"

namespace vornel {
namespace {

Array<uint32_t> surfaceOf(int32_t width, int32_t height, uint32_t pixel) {
    Array<uint32_t> surface = allocInt<uint32_t>(width * height);
    for (int32_t i = 0; i < surface.length(); ++i) {
        surface[i] = pixel;
    }
    return surface;
}

TEST(Drawing, AFillWithoutOpacityWritesNothing) {
    Array<uint32_t> surface = surfaceOf(4, 4, 0x12345678);
    Drawing::fillRect(surfaceOf(surface, 4, 4), {0, 0, 4, 4}, 0x00FFFFFF);
    EXPECT_EQ(surface[5], 0x12345678u);
}

TEST(Drawing, AnOpaqueFillWritesTheColourWithItsAlphaInTheDepthByte) {
    Array<uint32_t> surface = surfaceOf(4, 3, 0x01020304);
    Drawing::fillRect(surfaceOf(surface, 4, 3), {1, 0, 3, 3}, 0xFF336699);
    EXPECT_EQ(surface[0], 0x01020304u);
    EXPECT_EQ(surface[1], 0xFF336699u);
    EXPECT_EQ(surface[2 * 4 + 2], 0xFF336699u);
    EXPECT_EQ(surface[2 * 4 + 3], 0x01020304u);
}

TEST(Drawing, HalfAndThreeQuarterFillsUseTheirShiftShortcuts) {
    Array<uint32_t> surface = surfaceOf(2, 1, 0xFF000000);
    Drawing::fillRect(surfaceOf(surface, 2, 1), {0, 0, 1, 1}, 0x80FFFFFF);
    Drawing::fillRect(surfaceOf(surface, 2, 1), {1, 0, 2, 1}, 0xC0FFFFFF);
    EXPECT_EQ(surface[0], 0x007F7F7Fu);  // 127 per channel, depth byte cleared
    EXPECT_EQ(surface[1], 0x00BEBEBEu);  // 127 + 63 = 190
}

TEST(Drawing, OtherOpacitiesMixEachChannelWithTwoShiftedProducts) {
    Array<uint32_t> surface = surfaceOf(1, 1, 0xFF00FF40);
    Drawing::fillRect(surfaceOf(surface, 1, 1), {0, 0, 1, 1}, 0x7FFF0080);
    // keep = 128: red 0 + 255*127>>8 = 126; green 255*128>>8 = 127; blue 64*128>>8 + 128*127>>8 = 32 + 63.
    EXPECT_EQ(surface[0], 0x007E7F5Fu);
}

TEST(Drawing, FillsStayInsideTheSurface) {
    Array<uint32_t> surface = surfaceOf(3, 2, 0);
    Drawing::fillRect(surfaceOf(surface, 3, 9), {-5, -5, 50, 50}, 0xFF0000FF);
    for (int32_t i = 0; i < surface.length(); ++i) {
        EXPECT_EQ(surface[i], 0xFF0000FFu);
    }
}

TEST(Drawing, OpacityScalesTheFillsAlphaSoHalfAnOpaqueColourTakesTheGeneralMix) {
    EXPECT_EQ(Drawing::withOpacity(0xFFFFFFFF, 0x4000), 0x7FFFFFFFu);
    EXPECT_EQ(Drawing::withOpacity(0x80123456, 0x8000), 0x80123456u);

    Ref<Psprite> panel = new Psprite(0, 0, 2, 1, 0xFFFFFFFF);
    panel->setOpacity(0x4000);
    panel->place(0, 0, 0x8000);
    Array<uint32_t> surface = surfaceOf(2, 1, 0xFF000000);
    panel->draw(surface, 2, 1, 0, 0, 2, 1, 0x8000);
    EXPECT_EQ(surface[0], 0x007E7E7Eu);  // 255*127 >> 8, not the halving shortcut's 127
}

TEST(Drawing, AGradientRunsFromItsFirstColourTowardsTheSecond) {
    Ref<Psprite> band = new Psprite(0, 0, 1, 64, 0xFF000000);
    band->setColor2(0xFF0000FF);
    band->setOpacity(0x4000);  // gradient rows are opaque whatever the opacity
    band->place(0, 0, 0x8000);
    Array<uint32_t> surface = surfaceOf(1, 64, 0);
    band->draw(surface, 1, 64, 0, 0, 1, 64, 0x8000);
    EXPECT_EQ(surface[0], 0xFF000000u);
    EXPECT_EQ(surface[32], 0xFF00007Fu);
    EXPECT_EQ(surface[63], 0xFF0000FBu);  // the truncated step never quite reaches 255
}

TEST(Drawing, AGradientBetweenEqualColoursKeepsTheColourAsItIs) {
    EXPECT_EQ(Drawing::gradientColour(0x80102030, 0x80102030, 0x4000), 0x80102030u);
}

}  // namespace
}  // namespace vornel
