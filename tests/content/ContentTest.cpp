// The hand-written texts as the game reads them from its folder: the fortunes file (its shown
// part, its lines and every place a random pick can land) and the help text, with every word
// measured in the game font against the width of the screen that shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/Array.h"
#include "core/ProgramFolder.h"
#include "core/Ref.h"
#include "core/String.h"
#include "core/RunContext.h"
#include "game/GameScene.h"
#include "sprites/Font.h"

namespace vornel {
namespace {

constexpr int32_t kShownBytes = GameScene::kFortuneBytes;  // the game reads no further
constexpr int32_t kShortestFortune = 20;
constexpr int32_t kLongestFortune = 78;  // characters, the line feed not counted
constexpr int32_t kPicks = 256;          // randomFraction gives k / 256 for k = 0..255
constexpr int32_t kFortuneWordLimit = 160;  // pixels: a word must fit on one line of the fortune screen
constexpr int32_t kHelpWordLimit = 150;     // pixels: kept under the help screen's narrowest wrap
constexpr std::size_t kSmallestHelp = 2000;
constexpr std::size_t kLargestHelp = 8000;

std::string readDataFile(const char* name) {
    std::ifstream file(std::string(VORNEL_DATA_FOLDER) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The part of the fortunes file the game reads.
std::string shownCookies() {
    std::string cookies = readDataFile("cookies.txt");
    if (cookies.size() > static_cast<std::size_t>(kShownBytes)) {
        cookies.resize(kShownBytes);
    }
    return cookies;
}

// The lines after the heading, each without its line feed; a last line without one is kept.
std::vector<std::string> fortuneLines(const std::string& shown) {
    std::vector<std::string> lines;
    std::size_t start = shown.find('\n');
    while (start != std::string::npos && start + 1 < shown.size()) {
        const std::size_t end = shown.find('\n', start + 1);
        lines.push_back(shown.substr(start + 1, (end == std::string::npos ? shown.size() : end) - start - 1));
        start = end;
    }
    return lines;
}

// The runs of characters between separators.
std::vector<std::string> wordsOf(std::string_view text, std::string_view separators) {
    std::vector<std::string> words;
    std::size_t start = text.find_first_not_of(separators);
    while (start != std::string_view::npos) {
        const std::size_t end = text.find_first_of(separators, start);
        words.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        start = text.find_first_not_of(separators, end);
    }
    return words;
}

bool isPrintable(char c) { return c >= 32 && c <= 126; }

// Where the game's own pick lands for each of the random fractions; -1 for a pick that finds
// no fortune.
std::set<int32_t> pickedStarts(const std::string& shown) {
    const int32_t length = static_cast<int32_t>(shown.size());
    Array<uint8_t> text = allocByte(length);
    std::copy(shown.begin(), shown.end(), text.data());
    std::set<int32_t> starts;
    for (int32_t k = 0; k < kPicks; ++k) {
        starts.insert(GameScene::fortuneAt(text, length, k * 128));
    }
    return starts;
}

class ContentFontTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const RunContext dataFolder(VORNEL_DATA_FOLDER);
        s_font = new Font();
        s_fontLoaded = s_font->load(*String::fromLiteral("f15.bin"));
    }
    static void TearDownTestSuite() {
        s_font = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_fontLoaded) << "the game font is missing from " VORNEL_DATA_FOLDER; }

    static int32_t widthOf(const std::string& word) {
        Ref<String> text = new String(word.data(), 0, static_cast<int32_t>(word.size()));
        return s_font->textWidth(*text);
    }
    // Fails for every word at or beyond the limit; answers the widest width seen.
    static int32_t expectWordsNarrowerThan(const std::vector<std::string>& words, int32_t limit) {
        int32_t widest = 0;
        for (const std::string& word : words) {
            const int32_t width = widthOf(word);
            EXPECT_LT(width, limit) << "\"" << word << "\"";
            widest = std::max(widest, width);
        }
        return widest;
    }

    static inline Ref<Font> s_font;  // loaded once for the suite
    static inline bool s_fontLoaded = false;
};

TEST(ContentCookiesTest, ShownPartEndsAtALineEnd) {
    const std::string shown = shownCookies();
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(kShownBytes)) << "the fortunes file is too short";
    EXPECT_EQ(shown.back(), '\n');
}

TEST(ContentCookiesTest, FortunesAreTidyLinesOfPrintableText) {
    for (const std::string& line : fortuneLines(shownCookies())) {
        SCOPED_TRACE(line);
        EXPECT_GE(line.size(), static_cast<std::size_t>(kShortestFortune));
        EXPECT_LE(line.size(), static_cast<std::size_t>(kLongestFortune));
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), isPrintable));
        EXPECT_NE(line.front(), ' ');
        EXPECT_NE(line.back(), ' ');
        EXPECT_EQ(line.find("  "), std::string::npos);
    }
}

TEST(ContentCookiesTest, NoFortuneIsRepeated) {
    std::set<std::string> seen;
    for (const std::string& line : fortuneLines(shownCookies())) {
        EXPECT_TRUE(seen.insert(line).second) << "\"" << line << "\" appears twice";
    }
}

// A pick starts right after a line feed, so it always finds the start of a line.
TEST(ContentCookiesTest, EveryPickFindsAFortuneAndEveryFortuneCanBePicked) {
    const std::string shown = shownCookies();
    const std::set<int32_t> picked = pickedStarts(shown);
    EXPECT_EQ(picked.count(-1), 0u);
    for (std::size_t lineFeed = shown.find('\n'); lineFeed + 1 < shown.size(); lineFeed = shown.find('\n', lineFeed + 1)) {
        EXPECT_EQ(picked.count(static_cast<int32_t>(lineFeed + 1)), 1u)
            << "never shown: \"" << shown.substr(lineFeed + 1, shown.find('\n', lineFeed + 1) - lineFeed - 1) << "\"";
    }
}

TEST_F(ContentFontTest, EveryFortuneWordFitsTheScreen) {
    std::vector<std::string> words;
    for (const std::string& line : fortuneLines(shownCookies())) {
        const std::vector<std::string> lineWords = wordsOf(line, " ");
        words.insert(words.end(), lineWords.begin(), lineWords.end());
    }
    ASSERT_FALSE(words.empty());
    RecordProperty("widestFortuneWord", expectWordsNarrowerThan(words, kFortuneWordLimit));
}

TEST_F(ContentFontTest, EveryHelpWordFitsTheScreen) {
    const std::vector<std::string> words = wordsOf(readDataFile("help.txt"), " \t\n");
    ASSERT_FALSE(words.empty());
    RecordProperty("widestHelpWord", expectWordsNarrowerThan(words, kHelpWordLimit));
}

TEST(ContentHelpTest, IsPrintableTextOfAReadableSize) {
    const std::string help = readDataFile("help.txt");
    EXPECT_GE(help.size(), kSmallestHelp);
    EXPECT_LE(help.size(), kLargestHelp);
    for (std::size_t i = 0; i < help.size(); ++i) {
        EXPECT_TRUE(isPrintable(help[i]) || help[i] == '\t' || help[i] == '\n') << "byte " << i;
    }
}

}  // namespace
}  // namespace vornel
