// The main menu: its items and highlight, the keys that close it or leave the game, the sound
// and level choices with the settings file behind them, pen taps, and its two looks.
#include <gtest/gtest.h>

#include <algorithm>

#include "ModalTestSupport.h"

namespace vornel {
namespace {

using Labels = std::vector<std::string>;

class MainMenuTest : public test::ModalTest {
protected:
    void SetUp() override {
        ModalTest::SetUp();
        scene->m_matchState = GameScene::kServePending;  // a fresh game: nothing to resume
    }
    // The settings file as each press went in.
    void recordFileAtEachPress() {
        scene->inspect = [this](Menu&) { files.push_back(settingsFile()); };
    }
    bool heard(const std::string& sound) const {
        return std::find(host->sounds.begin(), host->sounds.end(), sound) != host->sounds.end();
    }

    std::vector<test::Bytes> files;
};

TEST_F(MainMenuTest, ResumeIsOfferedAndHighlightedOnlyWhileAGameIsInProgress) {
    scene->press({'0'});
    EXPECT_EQ(scene->runMainMenu(), 0);
    EXPECT_EQ(scene->menus[0].labels, (Labels{"New Game", "Sound: On", "Level: Easy", "Help", "About", "Exit"}));
    EXPECT_EQ(scene->menus[0].selected, 'N');

    scene->m_matchState = GameScene::kBounced;  // the first rally of a game is under way
    scene->m_mute = true;
    scene->m_hardLevel = 1;
    scene->press({'R'});
    EXPECT_EQ(scene->runMainMenu(), 0);
    EXPECT_EQ(scene->menus[1].labels,
              (Labels{"New Game", "Resume", "Sound: Off", "Level: Hard", "Help", "About", "Exit"}));
    EXPECT_EQ(scene->menus[1].selected, 'R');

    scene->m_matchState = GameScene::kServePending;
    scene->m_opponentPoints = 1;
    scene->press({'0'});  // the pad's menu key closes it just as Resume does
    EXPECT_EQ(scene->runMainMenu(), 0);
    EXPECT_EQ(scene->menus[2].selected, 'R');
    EXPECT_EQ(scene->m_opponentPoints, 1);
    EXPECT_EQ(scene->m_matchState, GameScene::kServePending);
    EXPECT_FALSE(scene->m_firstChild) << "the menu is gone from the screen";
}

TEST_F(MainMenuTest, BackTwiceGoesFromExitBackToTheGameWithoutEndingTheProgram) {
    scene->m_playerPoints = 3;
    scene->press({panel::kKeySoftMenu, panel::kKeyBack});
    EXPECT_EQ(scene->runMainMenu(), 0);
    ASSERT_EQ(scene->menus.size(), 2u);
    EXPECT_EQ(scene->menus[1].selected, 'E');  // the first press only moved to "Exit"
    EXPECT_TRUE(scene->isActive());
    EXPECT_FALSE(host->closed);
    EXPECT_EQ(scene->m_playerPoints, 3);
    EXPECT_FALSE(scene->m_firstChild);
}

TEST_F(MainMenuTest, TypedSFlipsTheSoundWhileLowerCaseSOnlyShowsAndSavesIt) {
    recordFileAtEachPress();
    scene->press({'s', 'S', 's', '0'});
    scene->runMainMenu();
    const std::vector<test::MenuShot>& menus = scene->menus;
    EXPECT_EQ(menus[1].selected, 'S');
    EXPECT_EQ(menus[1].labels[1], "Sound: On");
    EXPECT_EQ(menus[2].labels[1], "Sound: Off");
    EXPECT_EQ(menus[3].labels[1], "Sound: Off");
    EXPECT_TRUE(scene->m_mute);
    EXPECT_TRUE(files[0].empty());
    for (int32_t after = 1; after <= 3; ++after) {
        ASSERT_EQ(files[after].size(), 24u) << after;
        EXPECT_EQ(files[after][0], after == 1 ? 0 : 1) << after;
    }
}

TEST_F(MainMenuTest, TheLevelItemTogglesItsLabelAndTheSavedLevel) {
    recordFileAtEachPress();
    scene->press({'L', 'L', 'L', '0'});
    scene->runMainMenu();
    EXPECT_EQ(scene->menus[1].labels[2], "Level: Hard");
    EXPECT_EQ(scene->menus[2].labels[2], "Level: Easy");
    EXPECT_EQ(scene->menus[3].labels[2], "Level: Hard");
    EXPECT_EQ(files[1][1], 1);
    EXPECT_EQ(files[2][1], 0);
    EXPECT_EQ(files[3][1], 1);
    EXPECT_EQ(scene->m_hardLevel, 1);
}

TEST_F(MainMenuTest, NewGameStartsAtNilAllWaitingForTheServeWithItsMusic) {
    scene->m_playerPoints = 5;
    scene->m_opponentPoints = 3;
    scene->m_matchState = GameScene::kBounced;
    scene->press({'N'});
    EXPECT_EQ(scene->runMainMenu(), 1);
    EXPECT_EQ(scene->m_playerPoints, 0);
    EXPECT_EQ(scene->m_opponentPoints, 0);
    EXPECT_EQ(scene->m_matchState, GameScene::kServePending);
    EXPECT_EQ(host->sounds, (std::vector<std::string>{"music5"}));
    EXPECT_FALSE(scene->m_firstChild);
}

TEST_F(MainMenuTest, ATapOnAnItemChoosesItBouncesUnlessMutedAndHandsThePenTheBat) {
    scene->presses = {{Menu::kKeyAction, 'L'}, {'0', 0}};
    scene->runMainMenu();
    EXPECT_EQ(scene->m_hardLevel, 1);
    EXPECT_TRUE(heard("bounce"));
    EXPECT_EQ(scene->m_penSteering, 1);
    EXPECT_EQ(scene->m_stylusX.load(), 0);

    scene->m_mute = true;
    scene->m_penSteering = 0;
    host->sounds.clear();
    scene->presses = {{Menu::kKeyAction, 'L'}, {'0', 0}};
    scene->runMainMenu();
    EXPECT_EQ(scene->m_hardLevel, 0);
    EXPECT_FALSE(heard("bounce"));
    EXPECT_EQ(scene->m_penSteering, 1);
}

TEST_F(MainMenuTest, ANarrowScreenShowsTextOnAFillAndAWideOneButtonRowsSpreadOut) {
    Ref<test::ModalScene> narrow = makeScene(176, 208);
    narrow->m_matchState = GameScene::kServePending;
    narrow->inspect = [](Menu& menu) {
        EXPECT_EQ(menu.m_color, panel::kPanelColor);
        for (Psprite* item = menu.m_firstChild.get(); item != nullptr; item = item->m_next.get()) {
            EXPECT_NE(dynamic_cast<TextSprite*>(item), nullptr);
            EXPECT_FALSE(item->m_firstChild);
        }
    };
    narrow->press({'0'});
    narrow->runMainMenu();

    // Rows 16 pixels apart: 1.5 times that on 240 × 320; on a 100-pixel-high landscape
    // screen the six rows share its height.
    for (const int32_t height : {320, 100}) {
        Ref<test::ModalScene> wide = makeScene(240, height);
        wide->m_matchState = GameScene::kServePending;
        wide->inspect = [height](Menu& menu) {
            EXPECT_GE(menu.width(), kButtonWidth);
            std::vector<int32_t> tags;
            int32_t row = 0;
            for (Psprite* item = menu.m_firstChild.get(); item != nullptr; item = item->m_next.get(), ++row) {
                tags.push_back(item->m_tag);
                Psprite* button = item->m_firstChild.get();
                ASSERT_NE(button, nullptr);
                EXPECT_EQ(button->picture(), panel::kButtonPicture);
                EXPECT_EQ(button->m_depth, kFixedOne);
                Psprite* label = button->m_next.get();
                ASSERT_NE(dynamic_cast<TextSprite*>(label), nullptr);
                EXPECT_EQ(fromFixed(label->x()), (kButtonWidth - label->width()) / 2);
                if (height == 320) {
                    EXPECT_EQ(fromFixed(item->y()), 24 * row);
                } else {
                    EXPECT_NEAR(fromFixed(item->y()), row * height / 6, 1);
                }
            }
            EXPECT_EQ(tags, (std::vector<int32_t>{'N', 'S', 'L', 'H', 'A', 'E'}));
        };
        wide->press({'0'});
        wide->runMainMenu();
        EXPECT_EQ(wide->menus.size(), 1u);
    }
}

TEST_F(MainMenuTest, ExitStopsEveryLoopAndClosesTheWindow) {
    scene->press({'E'});
    EXPECT_EQ(scene->runMainMenu(), 0);
    EXPECT_FALSE(scene->isActive());
    EXPECT_TRUE(host->closed);
    scene->showHighScores();  // no key waits: only the leaving can end these
    scene->waitForDismiss();
}

}  // namespace
}  // namespace vornel
