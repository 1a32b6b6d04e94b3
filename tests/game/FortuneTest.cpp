// The fortune at the end of a game: the line it is taken from, its wrapping into the panel,
// the gong for a loss, and files that are missing or short. The random pick cannot be
// steered, so every file here makes each possible pick lead to a known line.
#include <gtest/gtest.h>

#include <set>

#include "ModalTestSupport.h"

namespace vornel {
namespace {

using Lines = std::vector<std::string>;
constexpr int32_t kFortuneBytes = GameScene::kFortuneBytes;

// A heading, then the same fortune over and over, filling the whole buffer.
std::string repeatedFortune(const std::string& fortune) {
    std::string file = "Fortunes\n";
    while (static_cast<int32_t>(file.size()) < kFortuneBytes) {
        file += fortune + "\n";
    }
    return file.substr(0, kFortuneBytes);
}

// A line feed exactly at every place a pick can land, each followed by "Right" and then by
// a line that a pick searching from one byte further on would show instead.
std::string lineFeedAtEveryPick() {
    std::string file(kFortuneBytes, 'W');
    for (int32_t k = 0; k < 256; ++k) {  // randomFraction answers k / 256
        const int32_t pick = fmul(k * 128, kFortuneBytes - 79);
        file.replace(pick, 7, "\nRight\n");
    }
    return file;
}

class FortuneTest : public test::ModalTest {
protected:
    // Ends a game and answers the fortune panel's rows, heading first; none when no fortune
    // showed. By default 'x' dismisses the fortune, and the space the high-score table after
    // it (which ignores the 'x' when no fortune showed); every key must be used up.
    Lines endGame(test::ModalScene& on, bool won, std::initializer_list<int32_t> keys = {'x', ' '}) {
        on.panels.clear();
        for (int32_t key : keys) {
            on.queueKey(key);
        }
        on.showFortune(won);
        EXPECT_EQ(on.nextKey(), 0);
        for (const test::PanelShot& shot : on.panels) {
            if (!shot.texts.empty() && shot.texts[0].find("fortune:") != std::string::npos) {
                return shot.texts;
            }
        }
        return {};
    }
};

TEST_F(FortuneTest, LinesBreakAtTheirLastSpaceBeforeReachingThePanelWidth) {
    writeCookies(repeatedFortune("Tomorrow brings a quiet table and a long rally"));
    const Lines wide = endGame(*scene, true);
    ASSERT_EQ(wide, (Lines{"Winning fortune:", "Tomorrow brings a quiet", "table and a long rally"}));
    EXPECT_EQ(scene->panels[0].width, 230);

    Ref<test::ModalScene> narrow = makeScene(200, 320);
    const Lines cut = endGame(*narrow, false);
    // The second line starts with the "qui" that did not fit on the first.
    ASSERT_EQ(cut, (Lines{"Losing fortune:", "Tomorrow brings a", "quiet table and a", "long rally"}));
    EXPECT_EQ(narrow->panels[0].width, 190);

    writeCookies(repeatedFortune("Calm hands beat fast spin"));  // 230 pixels: one too many
    Ref<test::ModalScene> exact = makeScene(240, 320);
    EXPECT_EQ(endGame(*exact, true), (Lines{"Winning fortune:", "Calm hands beat fast", "spin"}));
}

TEST_F(FortuneTest, APickOnALineFeedStartsTheFortuneRightAfterIt) {
    writeCookies(lineFeedAtEveryPick());
    for (int32_t game = 0; game < 8; ++game) {
        EXPECT_EQ(endGame(*scene, true), (Lines{"Winning fortune:", "Right"})) << game;
    }
}

TEST_F(FortuneTest, OnlyALostGameSoundsTheGongBeforeTheMusic) {
    writeCookies(repeatedFortune("Keep your eye on the ball"));
    endGame(*scene, true);
    EXPECT_EQ(host->sounds, (std::vector<std::string>{"music5"}));
    host->sounds.clear();
    endGame(*scene, false, {1, 2, 3, 4, ' ', ' '});  // arrows leave the fortune up
    EXPECT_EQ(host->sounds, (std::vector<std::string>{"gong", "music5"}));
}

TEST_F(FortuneTest, WithoutTheFileThereIsNoFortuneButStillTheTableAndANewGame) {
    scene->m_playerPoints = 11;
    scene->m_opponentPoints = 9;
    EXPECT_TRUE(endGame(*scene, true).empty());
    ASSERT_EQ(scene->panels.size(), 1u);
    EXPECT_EQ(scene->panels[0].texts[0], "Top 5 Scores");
    EXPECT_EQ(scene->panels[0].texts[1], "11\t9\tEasy");
    EXPECT_EQ(scene->m_playerPoints, 0);
    EXPECT_EQ(scene->m_matchState, GameScene::kServePending);
    EXPECT_EQ(host->sounds, (std::vector<std::string>{"music5"}));
}

TEST_F(FortuneTest, AShortFileGivesOnlyItsWholeLinesAfterTheHeading) {
    writeCookies("Heading\nFirst\nSecond\npartial");
    const std::set<std::string> wholeLines = {"First", "Second"};
    for (int32_t game = 0; game < 12; ++game) {
        const Lines fortune = endGame(*scene, true);
        ASSERT_EQ(fortune.size(), 2u);
        EXPECT_EQ(wholeLines.count(fortune[1]), 1u) << fortune[1];
    }

    for (const char* file : {"Only a heading\n", "No line feed at all", ""}) {
        writeCookies(file);
        Ref<test::ModalScene> fresh = makeScene(240, 320);
        EXPECT_TRUE(endGame(*fresh, true).empty()) << file;
        EXPECT_EQ(fresh->panels.size(), 1u) << file;  // the table alone
    }
}

}  // namespace
}  // namespace vornel
