// The settings file and the high-score table kept in it: defaults, a game carried over to the
// next run, a damaged file, the places of new results, the table's rows and its keys.
#include <gtest/gtest.h>

#include <array>

#include "ModalTestSupport.h"

namespace vornel {
namespace {

using Lines = std::vector<std::string>;
const std::string kEmptyRow = "--\t--\t--";

class SettingsTest : public test::ModalTest {
protected:
    // The table's rows, heading first, as showHighScores shows them.
    Lines shownTable() {
        scene->panels.clear();
        scene->queueKey(' ');
        scene->showHighScores();
        return scene->panels.empty() ? Lines{} : scene->panels.back().texts;
    }
    // Player's points, opponent's points and level of each place, best first.
    void storeTable(const std::vector<std::array<int32_t, 3>>& places) {
        for (std::size_t i = 0; i < places.size(); ++i) {
            const int32_t offset = 4 + 4 * static_cast<int32_t>(i);
            scene->writeWord(offset, places[i][0] * 256 + places[i][1]);
            scene->writeWord(offset + 2, places[i][2]);
        }
    }
    void finishGame(int32_t player, int32_t opponent, int32_t level) {
        scene->m_playerPoints = player;
        scene->m_opponentPoints = opponent;
        scene->m_hardLevel = level;
        scene->recordHighScore();
    }
    Ref<test::ModalScene> sceneWithBall() {
        Ref<test::ModalScene> made = makeScene(240, 320);
        made->m_ball = new Psprite();
        made->m_shadow = new Psprite();
        made->m_ballVelocity = new Vector3();
        return made;
    }
};

TEST_F(SettingsTest, WithoutAFileTheSceneKeepsItsSettingsAndAnEmptyTable) {
    scene->m_hardLevel = 1;
    scene->m_playerPoints = 3;
    scene->loadSettings();
    EXPECT_FALSE(scene->m_mute);
    EXPECT_EQ(scene->m_hardLevel, 1);
    EXPECT_EQ(scene->m_playerPoints, 3);
    EXPECT_EQ(scene->m_opponentPoints, 0);
    EXPECT_EQ(shownTable(), (Lines{"Top 5 Scores", kEmptyRow, kEmptyRow, kEmptyRow, kEmptyRow, kEmptyRow}));
    EXPECT_TRUE(settingsFile().empty());
}

TEST_F(SettingsTest, AGameInProgressIsSavedAndTheNextRunResumesItWithTheRightServer) {
    scene->m_mute = true;
    scene->m_hardLevel = 1;
    scene->m_playerPoints = 7;
    scene->m_opponentPoints = 4;
    scene->saveSettings();
    test::Bytes expected = {1, 1, 4, 7};  // sound off, level Hard, 4:7 from the opponent's side
    expected.resize(24);
    EXPECT_EQ(settingsFile(), expected);

    Ref<test::ModalScene> next = sceneWithBall();
    next->loadSettings();
    EXPECT_TRUE(next->m_mute);
    EXPECT_EQ(next->m_hardLevel, 1);
    EXPECT_EQ(next->m_playerPoints, 7);
    EXPECT_EQ(next->m_opponentPoints, 4);
    EXPECT_EQ(next->m_matchState, GameScene::kServePending);
    EXPECT_EQ(next->m_serverFlag, 0);  // 11 points played: the opponent's turn
    EXPECT_EQ(next->m_ball->m_posZ, GameScene::kTableHalfLength);
    next->press({'0'});
    next->runMainMenu();
    ASSERT_EQ(next->menus.size(), 1u);
    EXPECT_EQ(next->menus[0].labels[1], "Resume");
    EXPECT_EQ(next->menus[0].selected, 'R');

    expected[2] = 200;  // beyond any score a game can reach
    expected[3] = 100;
    writeSettingsFile(expected);
    Ref<test::ModalScene> damaged = sceneWithBall();
    damaged->loadSettings();
    EXPECT_EQ(damaged->m_playerPoints, 99);
    EXPECT_EQ(damaged->m_opponentPoints, 99);
}

TEST_F(SettingsTest, AShortFileLeavesTheSettingsAloneButTheTableShowsTheBytesRead) {
    writeSettingsFile({1, 1, 4, 7, 3, 11, 1, 0, 5, 11});
    scene->loadSettings();
    EXPECT_FALSE(scene->m_mute);
    EXPECT_EQ(scene->m_hardLevel, 0);
    EXPECT_EQ(scene->m_playerPoints, 0);
    EXPECT_EQ(scene->m_opponentPoints, 0);
    EXPECT_EQ(shownTable(), (Lines{"Top 5 Scores", "11\t3\tHard", "11\t5\tEasy", kEmptyRow, kEmptyRow, kEmptyRow}));
}

TEST_F(SettingsTest, AResultGoesBelowBetterOnesAndAboveEqualOnes) {
    storeTable({{11, 3, 0}, {11, 5, 0}});
    finishGame(11, 4, 1);
    finishGame(11, 3, 2);  // a level the table has no name for
    EXPECT_EQ(shownTable(),
              (Lines{"Top 5 Scores", "11\t3\t", "11\t3\tEasy", "11\t4\tHard", "11\t5\tEasy", kEmptyRow}));
}

TEST_F(SettingsTest, AFullTableIgnoresAWorseResultAndDropsItsLastPlaceForANewBest) {
    storeTable({{13, 11, 1}, {12, 10, 0}, {11, 5, 1}, {11, 7, 0}, {11, 9, 1}});
    const Lines before = shownTable();
    finishGame(11, 10, 0);
    finishGame(9, 11, 0);
    EXPECT_EQ(shownTable(), before);
    finishGame(14, 2, 0);
    EXPECT_EQ(shownTable(),
              (Lines{"Top 5 Scores", "14\t2\tEasy", "13\t11\tHard", "12\t10\tEasy", "11\t5\tHard", "11\t7\tEasy"}));
}

TEST_F(SettingsTest, TheTableClosesOnItsOwnKeysOrASizeChangeButNotOnArrowsOrLetters) {
    for (int32_t key : {1, 2, 3, 4, int32_t{'x'}, int32_t{' '}}) {
        scene->queueKey(key);
    }
    scene->showHighScores();
    EXPECT_EQ(scene->nextKey(), 0);  // it waited for the space
    for (int32_t key : {5, 6, 7, 10, int32_t{'5'}, int32_t{' '}}) {
        scene->queueKey(key);
        scene->queueKey('x');
        scene->showHighScores();
        EXPECT_EQ(scene->nextKey(), 'x') << key;
    }
    scene->setSize(320, 240);
    scene->showHighScores();
    EXPECT_EQ(scene->m_width, 320);
    EXPECT_FALSE(scene->m_firstChild);
}

TEST_F(SettingsTest, TheEndOfAGameSavesNilAllTogetherWithTheNewTable) {
    scene->m_hardLevel = 1;
    scene->m_playerPoints = 11;
    scene->m_opponentPoints = 7;
    scene->queueKey(' ');
    scene->showFortune(true);
    test::Bytes expected = {0, 1, 0, 0, 7, 11, 1};
    expected.resize(24);
    EXPECT_EQ(settingsFile(), expected);
}

}  // namespace
}  // namespace vornel
