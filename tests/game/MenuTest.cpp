// The main menu: its items and highlight, the keys that close it or leave the game, the sound
// and level choices with the settings file behind them, pen taps, and its two looks.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "ModalTestSupport.h"
#include "sprites/GameKey.h"

namespace vornel {
namespace {

using Labels = std::vector<std::string>;

class MainMenuTest : public test::ModalTest {
protected:
    void SetUp() override {
        ModalTest::SetUp();
        scene->m_matchState = GameScene::kServePending;  // a fresh game: nothing to resume
    }
    // One key per poll; the menu must have polled for every one of them.
    int32_t runMenu(std::initializer_list<int32_t> keys) {
        const std::size_t before = scene->menus.size();
        scene->press(keys);
        const int32_t answer = scene->runMainMenu();
        EXPECT_EQ(scene->menus.size(), before + keys.size());
        return answer;
    }
    bool heard(const std::string& sound) const {
        return std::find(host->sounds.begin(), host->sounds.end(), sound) != host->sounds.end();
    }
};

TEST_F(MainMenuTest, ResumeIsOfferedAndHighlightedOnlyWhileAGameIsInProgress) {
    EXPECT_EQ(runMenu({'0'}), 0);
    EXPECT_EQ(scene->menus.at(0).labels, (Labels{"New Game", "Sound: On", "Level: Easy", "Help", "About", "Exit"}));
    EXPECT_EQ(scene->menus.at(0).selected, 'N');

    scene->m_matchState = GameScene::kBounced;  // the first rally of a game is under way
    scene->m_mute = true;
    scene->m_hardLevel = 1;
    EXPECT_EQ(runMenu({'R'}), 0);
    EXPECT_EQ(scene->menus.at(1).labels,
              (Labels{"New Game", "Resume", "Sound: Off", "Level: Hard", "Help", "About", "Exit"}));
    EXPECT_EQ(scene->menus.at(1).selected, 'R');

    scene->m_matchState = GameScene::kServePending;
    scene->m_opponentPoints = 1;
    EXPECT_EQ(runMenu({'0'}), 0);  // the pad's menu key closes it just as Resume does
    EXPECT_EQ(scene->menus.at(2).selected, 'R');
    EXPECT_EQ(scene->m_opponentPoints, 1);
    EXPECT_EQ(scene->m_matchState, GameScene::kServePending);
    EXPECT_FALSE(scene->m_firstChild) << "the menu is gone from the screen";
}

TEST_F(MainMenuTest, BackTwiceGoesFromExitBackToTheGameWithoutEndingTheProgram) {
    scene->m_playerPoints = 3;
    EXPECT_EQ(runMenu({GameKey::kSecondSoftKey, GameKey::kBack}), 0);
    EXPECT_EQ(scene->menus.at(1).selected, 'E');  // the first press only moved to "Exit"
    EXPECT_TRUE(scene->isActive());
    EXPECT_FALSE(host->closeAsked);
    EXPECT_EQ(scene->m_playerPoints, 3);
}

TEST_F(MainMenuTest, SoundAndLevelChoicesRelabelTheirItemAndAreSavedAtOnce) {
    std::vector<test::Bytes> files;  // the settings file as each key went in
    scene->inspect = [&](Menu&) { files.push_back(settingsFile()); };
    runMenu({'s', 'S', 's', 'L', 'L', '0'});
    const auto label = [&](std::size_t key, std::size_t item) { return scene->menus.at(key).labels.at(item); };
    const auto saved = [&](std::size_t key, std::size_t offset) { return int32_t{files.at(key).at(offset)}; };
    EXPECT_TRUE(files.at(0).empty());
    EXPECT_EQ(scene->menus.at(1).selected, 'S');  // 's' shows and saves the choice, unchanged
    EXPECT_EQ(label(1, 1), "Sound: On");
    EXPECT_EQ(saved(1, 0), 0);
    EXPECT_EQ(label(2, 1), "Sound: Off");  // 'S' changes it
    EXPECT_EQ(saved(2, 0), 1);
    EXPECT_EQ(label(3, 1), "Sound: Off");
    EXPECT_EQ(saved(3, 0), 1);
    EXPECT_EQ(label(4, 2), "Level: Hard");
    EXPECT_EQ(saved(4, 1), 1);
    EXPECT_EQ(label(5, 2), "Level: Easy");
    EXPECT_EQ(saved(5, 1), 0);
    EXPECT_EQ(files.at(5).size(), 24u);
}

TEST_F(MainMenuTest, NewGameStartsAtNilAllWaitingForTheServeWithItsMusic) {
    scene->m_playerPoints = 5;
    scene->m_opponentPoints = 3;
    scene->m_matchState = GameScene::kBounced;
    EXPECT_EQ(runMenu({'N'}), 1);
    EXPECT_EQ(scene->m_playerPoints, 0);
    EXPECT_EQ(scene->m_opponentPoints, 0);
    EXPECT_EQ(scene->m_matchState, GameScene::kServePending);
    EXPECT_EQ(host->sounds, (std::vector<std::string>{"music5"}));
    EXPECT_FALSE(scene->m_firstChild);
}

TEST_F(MainMenuTest, ATapOnAnItemChoosesItBouncesUnlessMutedAndHandsThePenTheBat) {
    bool tapping = true;  // the stylus goes onto the level item before the tap's key
    scene->inspect = [&](Menu& menu) {
        if (std::exchange(tapping, false)) {
            Psprite* level = menu.m_firstChild->m_next->m_next.get();
            scene->input().setStylus((level->m_left + level->m_right) / 2, (level->m_top + level->m_bottom) / 2);
        }
    };
    runMenu({GameKey::kConfirm, '0'});
    EXPECT_EQ(scene->m_hardLevel, 1);
    EXPECT_TRUE(heard("bounce"));
    EXPECT_EQ(scene->m_penSteering, 1);
    EXPECT_EQ(scene->input().stylusX(), 0);

    tapping = true;
    scene->m_mute = true;
    scene->m_penSteering = 0;
    host->sounds.clear();
    runMenu({GameKey::kConfirm, '0'});
    EXPECT_EQ(scene->m_hardLevel, 0);
    EXPECT_FALSE(heard("bounce"));
    EXPECT_EQ(scene->m_penSteering, 1);
}

TEST_F(MainMenuTest, ANarrowScreenShowsTextOnAFillAndAWideOneButtonRowsSpreadOut) {
    for (const int32_t width : {176, 239}) {
        Ref<test::ModalScene> narrow = makeScene(width, 208);
        narrow->m_matchState = GameScene::kServePending;
        narrow->inspect = [](Menu& menu) {
            EXPECT_EQ(menu.m_color, panel::kPanelColor);
            for (Psprite* item = menu.m_firstChild.get(); item != nullptr; item = item->m_next.get()) {
                EXPECT_TRUE(dynamic_cast<TextSprite*>(item) != nullptr && !item->m_firstChild);
            }
        };
        narrow->press({'0'});
        narrow->runMainMenu();
    }
    // Six rows 16 or 40 pixels apart spread over the screen's height, or in portrait over its
    // width less 27, but never beyond 1.5 times their spacing.
    struct Look {
        int32_t width, height, lineHeight;
        double rowStep;
    };
    for (const Look& look : {Look{240, 320, 16, 24.0}, Look{240, 320, 40, 213 / 6.0}, Look{320, 240, 40, 40.0}}) {
        TextSprite::setDefaultFont(new test::WidthFont(look.lineHeight));
        Ref<test::ModalScene> wide = makeScene(look.width, look.height);
        wide->m_matchState = GameScene::kServePending;
        wide->inspect = [&look](Menu& menu) {
            EXPECT_GE(menu.width(), kButtonWidth);
            int32_t row = 0;
            for (Psprite* item = menu.m_firstChild.get(); item != nullptr; item = item->m_next.get(), ++row) {
                Psprite* button = item->m_firstChild.get();
                ASSERT_TRUE(button != nullptr && button->m_next);
                Psprite* label = button->m_next.get();
                EXPECT_EQ(button->picture(), panel::kButtonPicture);
                EXPECT_EQ(button->m_depth, kFixedOne);
                EXPECT_EQ(fromFixed(label->x()), (kButtonWidth - label->width()) / 2);
                EXPECT_NEAR(fromFixed(item->y()), row * look.rowStep, 1) << look.width << "x" << look.height;
            }
        };
        wide->press({'0'});
        wide->runMainMenu();
        EXPECT_EQ(wide->menus.at(0).codes, (std::vector<int32_t>{'N', 'S', 'L', 'H', 'A', 'E'}));
        EXPECT_EQ(wide->menus.at(0).labels.at(0), "New Game");
    }
}

TEST_F(MainMenuTest, ExitStopsEveryLoopAndAsksTheWindowToClose) {
    EXPECT_EQ(runMenu({'E'}), 0);
    EXPECT_FALSE(scene->isActive());
    EXPECT_TRUE(host->closeAsked);
    scene->showHighScores();  // no key waits: only the leaving can end these
    scene->waitForDismiss();
}

// A match whose next frame would score: the ball lies on the table, falling, in the
// player's half after its first bounce. The start-up menu is left out; the back key is
// waiting, so the first frame of play opens the menu.
class ExitInPlayScene : public test::ModalScene {
public:
    void setUpContent() override {
        m_ball = new Psprite();
        m_ball->setPos(0, kTableLevel, -100);
        m_shadow = new Psprite();
        m_ballVelocity = new Vector3();
        m_ballVelocity->setComponents(0, -100000, 0);
        m_dragScratch = new Vector3();
        m_playerBat = new Psprite();
        m_playerBat->setPos(0, 0, -2155216);
        m_matchState = kBounced;
        m_rallyTimer = 100000;
    }
    int32_t runMainMenu() override {
        if (!m_started) {
            m_started = true;
            queueKey(GameKey::kBack);
            return 0;
        }
        return ModalScene::runMainMenu();
    }

private:
    static constexpr Fixed kTableLevel = 874210;  // the ball's centre resting on the table
    bool m_started = false;
};

TEST_F(MainMenuTest, ExitDuringPlayEndsTheFrameWithNothingMorePlayedOrSaved) {
    Ref<ExitInPlayScene> playing = new ExitInPlayScene();
    playing->setHost(host);
    playing->setSize(240, 320);
    playing->m_bank = scene->m_bank;
    playing->press({'E'});
    playing->run();
    EXPECT_EQ(playing->menus.size(), 1u);
    EXPECT_TRUE(host->closeAsked);
    EXPECT_EQ(playing->m_opponentPoints, 0);  // the second bounce was never played
    EXPECT_EQ(playing->m_matchState, GameScene::kBounced);
    EXPECT_EQ(host->sounds, std::vector<std::string>{});
    EXPECT_TRUE(settingsFile().empty());
    playing->clear();
}

}  // namespace
}  // namespace vornel
