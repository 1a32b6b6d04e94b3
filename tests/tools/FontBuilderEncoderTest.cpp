// Glyph coverage into run bytes: quantisation to the game's 16 levels, runs of 16, runs
// across row ends, and the rows left out below the ink.
#include "font/GlyphRunEncoder.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace vornel {
namespace {

using Bytes = std::vector<uint8_t>;

GlyphBox boxOf(int32_t width, int32_t rows, std::initializer_list<uint8_t> coverage) {
    GlyphBox box(width, rows);
    int32_t i = 0;
    for (const uint8_t value : coverage) {
        box.setCoverage(i % width, i / width, value);
        ++i;
    }
    return box;
}

TEST(FontBuilderEncoder, CoverageTakesTheLevelWhosePaintedOpacityIsNearest) {
    // Levels 1..14 paint sixteenths, level 15 paints the colour itself.
    EXPECT_EQ(GlyphRunEncoder::level(0), 0);
    EXPECT_EQ(GlyphRunEncoder::level(7), 0);
    EXPECT_EQ(GlyphRunEncoder::level(8), 1);
    EXPECT_EQ(GlyphRunEncoder::level(128), 8);
    EXPECT_EQ(GlyphRunEncoder::level(223), 14);  // 14/16 exactly
    EXPECT_EQ(GlyphRunEncoder::level(239), 14);  // just below 15/16, nearer 14/16 than full
    EXPECT_EQ(GlyphRunEncoder::level(240), 15);
    EXPECT_EQ(GlyphRunEncoder::level(255), 15);
}

TEST(FontBuilderEncoder, ARunOfSixteenIsWrittenWithLengthZero) {
    EXPECT_EQ(GlyphRunEncoder::encode(GlyphBox(16, 1)), Bytes({0x00}));
    GlyphBox solid(20, 1);
    for (int32_t x = 0; x < 20; ++x) {
        solid.setCoverage(x, 0, 255);
    }
    EXPECT_EQ(GlyphRunEncoder::encode(solid), Bytes({0x0F, 0x4F}));
}

TEST(FontBuilderEncoder, RunsCarryOnAcrossRowEnds) {
    const GlyphBox box = boxOf(3, 3, {0, 0, 0,  //
                                      0, 255, 255,  //
                                      255, 128, 0});
    EXPECT_EQ(GlyphRunEncoder::encode(box), Bytes({0x40, 0x3F, 0x18, 0x10}));
}

TEST(FontBuilderEncoder, RowsBelowTheInkAreLeftOutButTheLastInkedRowIsFinished) {
    GlyphBox box(4, 15);
    box.setCoverage(1, 2, 255);
    box.setCoverage(3, 9, 7);  // too faint to show: level 0
    // 9 clear pixels, the ink, then the rest of row 2: three rows of four.
    EXPECT_EQ(GlyphRunEncoder::encode(box), Bytes({0x90, 0x1F, 0x20}));
}

TEST(FontBuilderEncoder, AGlyphWithoutInkKeepsOneClearRowSoItsWidthSurvives) {
    EXPECT_EQ(GlyphRunEncoder::encode(GlyphBox(5, 15)), Bytes({0x50}));
    EXPECT_EQ(GlyphRunEncoder::encode(GlyphBox(20, 15)), Bytes({0x00, 0x40}));
    EXPECT_TRUE(GlyphRunEncoder::encode(GlyphBox()).empty());
}

}  // namespace
}  // namespace vornel
