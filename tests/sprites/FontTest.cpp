// Fonts: reading font files (good, damaged and hostile), widths, tab stops, and painting glyphs.
#include "sprites/Font.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "../media/BankFiles.h"

namespace vornel {
namespace {

using test::Bytes;

Bytes varInts(std::initializer_list<uint32_t> values) {
    Bytes bytes;
    for (uint32_t value : values) {
        test::appendVarInt(bytes, value);
    }
    return bytes;
}

// Space 4 (tab stops every 16), line height 5; 'A' a solid 2 × 2 square, 'B' no glyph, 'C'
// 200 pixels wide with 130 bytes of data (both numbers take two varint bytes).
Bytes goodFontFile() {
    Bytes file = varInts({4, 5, 9, 'A', 'C', 1, 2, 0, 130, 200, 131});
    file.push_back(0x4F);
    file.insert(file.end(), 130, 0x10);
    return file;
}

class FontTest : public testing::Test {
protected:
    bool load(const Bytes& file) {
        m_folder.writeFile("f15.bin", file);
        return m_font->load(*String::fromLiteral("f15.bin"));
    }
    // A font whose only glyph, 'A', has the given width and runs.
    void loadGlyph(uint32_t width, const Bytes& runs, uint32_t background) {
        Bytes file = varInts({4, 5, 0, 'A', 'A', uint32_t(runs.size()), width, uint32_t(runs.size())});
        file.insert(file.end(), runs.begin(), runs.end());
        ASSERT_TRUE(load(file));
        for (int32_t i = 0; i < 16; ++i) {
            m_surface[i] = background;
        }
    }
    // Glyph 'A' at pixel (x, y) of the 4 × 4 surface, clipped to its top-left right × bottom.
    void draw(int32_t x, int32_t y, uint32_t color, Fixed opacity, int32_t right = 4, int32_t bottom = 4) {
        m_font->drawChar('A', m_surface, 4, 4, 0, 0, right, bottom, toFixed(x), toFixed(y), color, opacity);
    }
    uint32_t at(int32_t x, int32_t y) const { return m_surface[y * 4 + x]; }
    bool isEmpty() {
        int32_t widths = 0;
        for (int32_t code = 0; code < 256; ++code) {
            widths += m_font->charWidth(code);
        }
        return widths == 0 && m_font->lineHeight() == 0;
    }

    test::BankFolder m_folder;
    Ref<Font> m_font = new Font();
    Array<uint32_t> m_surface = allocInt<uint32_t>(16);
};

// Reads its bytes from a list, to see varints decoded without a file.
class ListFont : public Font {
public:
    int32_t readByte() override {
        const int32_t b = bytes.empty() ? -1 : bytes.front();
        if (!bytes.empty()) {
            bytes.pop_front();
        }
        return b;
    }
    std::deque<int32_t> bytes;
};

TEST(Font, VarIntsRunMostSignificantFirstAndAnswerMinusOneAtTheEnd) {
    Ref<ListFont> font = new ListFont();
    font->bytes = {0x05, 0x81, 0x48, 0x83, 0xFF, 0x7F, 0x81};
    EXPECT_EQ(font->readVarInt(), 5);
    EXPECT_EQ(font->readVarInt(), 200);
    EXPECT_EQ(font->readVarInt(), (3 << 14) | (127 << 7) | 127);
    EXPECT_EQ(font->readVarInt(), (1 << 7) | 127);  // cut short: the end reads as a last group
    EXPECT_EQ(font->readVarInt(), -1);
}

TEST_F(FontTest, LoadingReadsMetricsGlyphStartsAndWidths) {
    ASSERT_TRUE(load(goodFontFile()));
    EXPECT_EQ(m_font->lineHeight(), 5);
    const std::vector<int32_t> widths = {m_font->charWidth(' '), m_font->charWidth('@'), m_font->charWidth('A'),
                                         m_font->charWidth('B'), m_font->charWidth('C'), m_font->charWidth('D')};
    EXPECT_EQ(widths, (std::vector<int32_t>{4, 0, 2, 0, 200, 0}));
    const std::vector<int32_t> starts = {m_font->glyphStart(0), m_font->glyphStart(1), m_font->glyphStart(2),
                                         m_font->glyphStart(3)};
    EXPECT_EQ(starts, (std::vector<int32_t>{0, 1, 1, 131}));
    EXPECT_EQ(m_font->tabAdvance(1), 15);
    EXPECT_EQ(m_font->tabAdvance(16), 16);
    EXPECT_EQ(m_font->textWidth(*String::fromLiteral("A\tA B")), 16 + 2 + 4);
}

TEST_F(FontTest, AMissingFileAnswersFalseWithOneLineNamingIt) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(m_font->load(*String::fromLiteral("f15.bin")));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "font f15.bin is missing\n");
}

TEST_F(FontTest, EveryTruncationIsReportedAndLeavesTheFontEmpty) {
    const Bytes good = goodFontFile();
    for (std::size_t size = 0; size < good.size(); ++size) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(load(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)))) << size;
        EXPECT_TRUE(testing::internal::GetCapturedStderr().starts_with("font f15.bin is damaged: ")) << size;
        ASSERT_TRUE(isEmpty()) << size;
    }
}

TEST_F(FontTest, LyingLengthsAndBadRangesAreRefused) {
    Bytes lying = goodFontFile();
    lying[13] = 4;  // the total's low group: one byte more than the glyphs add up to
    Bytes short1 = lying;
    short1[13] = 2;
    testing::internal::CaptureStderr();
    for (const Bytes& file : {lying, short1, varInts({4, 5, 0, 'C', 'A'}), varInts({4, 5, 0, 256, 256}),
                              varInts({4, 5, 0, 'A', 'A', 1, 0, 1, 0x4F}), varInts({4, 5, 0, 'A', 'A', 1 << 21})}) {
        EXPECT_FALSE(load(file));
        EXPECT_TRUE(isEmpty());
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(FontTest, RandomBytesNeverCrashLoadingOrDrawing) {
    std::mt19937 random(15);
    testing::internal::CaptureStderr();
    for (int trial = 0; trial < 300; ++trial) {
        Bytes file(random() % 64);
        for (uint8_t& b : file) {
            b = static_cast<uint8_t>(random());
        }
        if (!load(file)) {
            ASSERT_TRUE(isEmpty());
        }
        for (int32_t code = 0; code < 256; ++code) {  // a clip larger than the surface, too
            m_font->drawChar(code, m_surface, 4, 4, -5, -5, 9, 9, -toFixed(2), toFixed(1), 0xFFFFFFFF, kFixedOne);
        }
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(FontTest, FullCoverageStoresTheColourAndShadesHalfBelowRight) {
    loadGlyph(2, {0x4F}, 0xFF102030);  // 2 × 2: the run wraps to the second row
    draw(1, 1, 0x80FF0000, kFixedOne);
    EXPECT_EQ(at(1, 1), 0x80FF0000u);  // the colour's own AA lands in the depth byte
    EXPECT_EQ(at(2, 2), 0x80FF0000u);  // painted over its neighbour's shadow
    EXPECT_EQ(at(3, 2), 0x00081018u);
    EXPECT_EQ(at(2, 3), 0x00081018u);
    EXPECT_EQ(at(3, 3), 0x00081018u);
    EXPECT_EQ(at(3, 1), 0xFF102030u);
}

TEST_F(FontTest, PartialCoverageRoundsDownAndFaintPixelsShadeByAQuarter) {
    loadGlyph(1, {0x15}, 0xFF114064);  // one pixel at 5/16
    draw(0, 0, 0x0000FF64, kFixedOne);
    // red 17 + floor(-85 / 16) = 11; green 64 + floor(191 · 5 / 16) = 123; blue unchanged.
    EXPECT_EQ(at(0, 0), 0x000B7B64u);
    EXPECT_EQ(at(1, 1), 0x000D304Bu);  // 17 - 4, 64 - 16, 100 - 25: each channel less a quarter
}

TEST_F(FontTest, TranslucentTextScalesCoverageAndCastsNoShadow) {
    loadGlyph(1, {0x1F}, 0);
    draw(0, 0, 0xFFFFFFFF, 0x4000);  // level 15 becomes 7
    EXPECT_EQ(at(0, 0), 0x006F6F6Fu);  // 255 · 7 / 16 = 111
    EXPECT_EQ(at(1, 1), 0u);
}

TEST_F(FontTest, TransparentRunsSkipAcrossRowsAndNoShadowLeavesTheClip) {
    loadGlyph(2, {0x30, 0x1F}, 0xFF808080);  // three clear pixels, then the second row's right one
    draw(1, 1, 0xFFFFFFFF, kFixedOne, 3, 3);  // that pixel is the clip's last in both ways
    EXPECT_EQ(at(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(at(1, 1), 0xFF808080u);
    EXPECT_EQ(at(3, 3), 0xFF808080u);
    draw(2, -1, 0xFFFFFFFF, kFixedOne, 100, 100);  // a clip past the surface is cut to it
    EXPECT_EQ(at(3, 0), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace vornel
