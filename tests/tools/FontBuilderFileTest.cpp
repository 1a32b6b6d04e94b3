// The font file's variable-length integers and layout, and the placing of glyphs in their boxes.
#include "font/FontBuilder.h"
#include "font/FontFileWriter.h"
#include "font/VarIntWriter.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes varInt(uint32_t value) {
    Bytes bytes;
    VarIntWriter::append(bytes, value);
    return bytes;
}

TEST(FontBuilderVarInt, GroupsOfSevenBitsMostSignificantFirstWithTheTopBitOnAllButTheLast) {
    EXPECT_EQ(varInt(0), Bytes({0x00}));
    EXPECT_EQ(varInt(127), Bytes({0x7F}));
    EXPECT_EQ(varInt(128), Bytes({0x81, 0x00}));
    EXPECT_EQ(varInt(300), Bytes({0x82, 0x2C}));
    EXPECT_EQ(varInt(16383), Bytes({0xFF, 0x7F}));
    EXPECT_EQ(varInt(16384), Bytes({0x81, 0x80, 0x00}));
    EXPECT_EQ(varInt(0x7FFFFFFF), Bytes({0x87, 0xFF, 0xFF, 0xFF, 0x7F}));
}

TEST(FontBuilderFileWriter, HeaderThenLengthAndWidthPerCodeThenTotalThenData) {
    FontFileWriter writer(4, 15, 12, 65, 67);
    ASSERT_TRUE(writer.setGlyph(65, {0x3F}, 3));
    ASSERT_TRUE(writer.setGlyph(67, Bytes(130, 0x10), 200));
    const Bytes file = writer.bytes();
    const Bytes head = {4, 15, 12, 65, 67,  // space, line height, baseline, first, last
                        1, 3,               // 'A': one byte, 3 wide
                        0,                  // 'B': no glyph, so no width
                        0x81, 0x02, 0x81, 0x48,  // 'C': 130 bytes, 200 wide
                        0x81, 0x03,              // 131 bytes of data
                        0x3F};
    ASSERT_EQ(file.size(), head.size() + 130);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(head.size())), head);
}

TEST(FontBuilderFileWriter, RefusesCodesOutsideItsRangeAndGlyphsWithoutWidth) {
    FontFileWriter writer(4, 15, 12, 65, 67);
    EXPECT_FALSE(writer.setGlyph(64, {0x3F}, 3));
    EXPECT_FALSE(writer.setGlyph(68, {0x3F}, 3));
    EXPECT_FALSE(writer.setGlyph(65, {0x3F}, 0));
    EXPECT_FALSE(writer.setGlyph(65, {0x3F}, FontFileWriter::kMaxWidth + 1));
    EXPECT_EQ(writer.bytes(), Bytes({4, 15, 12, 65, 67, 0, 0, 0, 0}));
}

// Three columns of full ink, two rows tall, hanging one pixel left of the pen, over an
// advance of 2.
GlyphRasteriser::Glyph overhangingGlyph() {
    GlyphRasteriser::Glyph glyph;
    glyph.bitmap = GlyphBox(3, 2);
    for (int32_t i = 0; i < 6; ++i) {
        glyph.bitmap.setCoverage(i % 3, i / 3, 255);
    }
    glyph.left = -1;
    glyph.top = 3;
    glyph.advance = 2;
    return glyph;
}

TEST(FontBuilderPlacement, ClippingKeepsTheAdvanceAndCutsInkOutsideTheBoxAndAboveTheLine) {
    FontBuilder::Settings settings{.lineHeight = 4, .baseline = 2};
    FontBuilder::Tally tally;
    const GlyphBox box = FontBuilder::place(overhangingGlyph(), settings, tally);
    ASSERT_EQ(box.width(), 2);
    ASSERT_EQ(box.rows(), 4);
    // The ink's top row would be row -1; its second row lands on row 0.
    EXPECT_EQ(box.coverage(), Bytes({255, 255, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(tally.clippedPixels, 4);  // the top row and the left column's lower pixel
    EXPECT_EQ(tally.clippedGlyphs, 1);
}

TEST(FontBuilderPlacement, WideningMovesInkRightOfThePenAndGrowsTheBox) {
    FontBuilder::Settings settings{.lineHeight = 4, .baseline = 3, .overhang = FontBuilder::Overhang::Widen};
    FontBuilder::Tally tally;
    const GlyphBox box = FontBuilder::place(overhangingGlyph(), settings, tally);
    ASSERT_EQ(box.width(), 3);
    EXPECT_EQ(box.coverage(), Bytes({255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(tally.shifted, 1);
    EXPECT_EQ(tally.widened, 1);
    EXPECT_EQ(tally.clippedPixels, 0);
}

TEST(FontBuilderPlacement, CharacterCodesAreLatin1WithoutTheControlCodes) {
    EXPECT_EQ(FontBuilder::codePoint('A'), 0x41u);
    EXPECT_EQ(FontBuilder::codePoint(0xE9), 0xE9u);  // e acute
    EXPECT_EQ(FontBuilder::codePoint(127), 0u);
    EXPECT_EQ(FontBuilder::codePoint(0x85), 0u);
    EXPECT_EQ(FontBuilder::codePoint(31), 0u);
}

}  // namespace
}  // namespace vornel
