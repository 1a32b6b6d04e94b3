// The vornel-font program end to end: DejaVu Sans built with the game's settings and read back
// by the game's own font loader, and its answers to bad arguments.
#include "font/FontCommand.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TestPictures.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "sprites/Font.h"

namespace vornel {
namespace {

using namespace test;

constexpr const char* kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class FontBuilderFont : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FontCommand::run({kDejaVuSans, m_folder.file("f15.bin")}), FontCommand::kSuccess);
        std::ifstream in(m_folder.file("f15.bin"), std::ios::binary);
        m_file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const RunContext fontFolder(m_folder.path());
        ASSERT_TRUE(m_font->load(*String::fromLiteral("f15.bin")));
    }

    // The run bytes of a glyph: the data is the file's tail, and the font knows where each
    // glyph starts in it.
    std::vector<uint8_t> runsOf(int32_t code) const {
        const int32_t index = code - m_font->firstChar();
        const std::size_t dataStart = m_file.size() - static_cast<std::size_t>(m_font->glyphStart(m_font->lastChar() - m_font->firstChar() + 1));
        return std::vector<uint8_t>(m_file.begin() + static_cast<std::ptrdiff_t>(dataStart) + m_font->glyphStart(index),
                                    m_file.begin() + static_cast<std::ptrdiff_t>(dataStart) + m_font->glyphStart(index + 1));
    }

    static int32_t pixelsOf(const std::vector<uint8_t>& runs) {
        int32_t pixels = 0;
        for (const uint8_t run : runs) {
            pixels += (run >> 4) == 0 ? 16 : run >> 4;
        }
        return pixels;
    }

    // Rows (from the line's top) holding a pixel the glyph painted at full colour.
    std::vector<int32_t> solidRows(int32_t code) {
        constexpr int32_t kSide = 20;
        Array<uint32_t> surface = allocInt<uint32_t>(kSide * kSide);
        m_font->drawChar(code, surface, kSide, kSide, 0, 0, kSide, kSide, 0, 0, 0xFFFFFFFF, kFixedOne);
        std::vector<int32_t> rows;
        for (int32_t y = 0; y < kSide; ++y) {
            for (int32_t x = 0; x < kSide; ++x) {
                if (surface[y * kSide + x] == 0xFFFFFFFF) {
                    rows.push_back(y);
                    break;
                }
            }
        }
        return rows;
    }

    ScratchFolder m_folder{"font"};
    std::vector<uint8_t> m_file;
    Ref<Font> m_font = new Font();
};

TEST_F(FontBuilderFont, HasLineHeight15AndEveryLatin1CharacterButTheControlCodes) {
    EXPECT_EQ(m_font->lineHeight(), 15);
    EXPECT_EQ(m_font->firstChar(), 32);
    EXPECT_EQ(m_font->lastChar(), 255);
    EXPECT_GE(m_font->charWidth(' '), 3);
    for (int32_t code = 33; code <= 255; ++code) {
        const bool control = code >= 127 && code < 160;
        EXPECT_EQ(m_font->charWidth(code) == 0, control) << code;
        EXPECT_LE(m_font->charWidth(code), 16) << code;
    }
    EXPECT_LT(m_font->charWidth('i'), m_font->charWidth('m'));
}

TEST_F(FontBuilderFont, EveryGlyphsRunsFillWholeRowsOfItsWidthWithinTheLine) {
    for (int32_t code = 32; code <= 255; ++code) {
        const std::vector<uint8_t> runs = runsOf(code);
        const int32_t width = m_font->charWidth(code);
        if (runs.empty()) {
            continue;
        }
        const int32_t pixels = pixelsOf(runs);
        EXPECT_EQ(pixels % width, 0) << code;
        EXPECT_LE(pixels / width, 15) << code;
    }
}

TEST_F(FontBuilderFont, CapitalsStandOnRow11AndDescendersReachTheLastRow) {
    // Stems are solid from the top of the ink to the baseline under row 11.
    EXPECT_EQ(solidRows('H'), std::vector<int32_t>({3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(solidRows('n').back(), 11);
    EXPECT_EQ(solidRows('p').back(), 14);
}

// A run of FontCommand with stderr captured: its status and what it wrote there.
std::pair<int, std::string> runCapturingErrors(const std::vector<std::string>& args) {
    testing::internal::CaptureStderr();
    const int status = FontCommand::run(args);
    return {status, testing::internal::GetCapturedStderr()};
}

TEST(FontBuilderProgram, BadArgumentsAndMissingFontsGiveOneErrorLineAndStatus2) {
    const ScratchFolder folder("font-args");
    const std::string out = folder.file("f15.bin");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {kDejaVuSans},
        {folder.file("missing.ttf"), out},
        {kDejaVuSans, out, "--size", "twelve"},
        {kDejaVuSans, out, "--hinting", "strong"},
        {kDejaVuSans, out, "--last-char", "300"},
        {kDejaVuSans, out, "--size"},
        {kDejaVuSans, out, "--colour", "red"},
        {kDejaVuSans, folder.file("no-such-folder/f15.bin")},
    };
    for (const std::vector<std::string>& args : cases) {
        const auto [status, errors] = runCapturingErrors(args);
        EXPECT_EQ(status, FontCommand::kFailure) << testing::PrintToString(args);
        EXPECT_TRUE(errors.starts_with("vornel-font: ")) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
}

}  // namespace
}  // namespace vornel
