// The match: serves by the point total, scoring with its sounds, pause and cap, the end of a
// game, the shaking score markers and their layout, sizes from the window thread, and the
// content set-up with its intro.
#include "game/GameScene.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include <optional>

#include "../media/BankFiles.h"
#include "core/Clock.h"
#include "core/SaveFolder.h"
#include "core/RunContext.h"

namespace vornel {
namespace {

// Device time that moves only when the game sleeps; each sleep is recorded.
class StepClock : public Clock {
public:
    uint32_t ticks() override { return now; }
    void sleep(uint32_t milliseconds) override {
        now += milliseconds;
        sleeps.push_back(milliseconds);
        if (onSleep) {
            onSleep();
        }
    }
    uint32_t now = 5000;
    std::vector<uint32_t> sleeps;
    std::function<void()> onSleep;
};

class RecordingHost : public ScreenHost {
public:
    void presentRect(int32_t, int32_t, int32_t, int32_t) override {
        if (onPresent) {
            onPresent();
        }
    }
    void playSound(const String& name, int32_t) override { sounds.emplace_back(name.text()); }
    std::vector<std::string> sounds;
    std::function<void()> onPresent;
};

// The end of a game is recorded, and the next game starts at once, without the panels.
class MatchScene : public GameScene {
public:
    void showFortune(bool won) override {
        ends.push_back({m_playerPoints, m_opponentPoints, won ? 1 : 0});
        m_playerPoints = 0;
        m_opponentPoints = 0;
        startNewGame();
    }
    std::vector<std::vector<int32_t>> ends;  // player's points, opponent's points, won
};

class MatchTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_saveFolder);
        // Points are saved; never into the working folder.
        m_context.emplace(ProgramFolder::path(), m_saveFolder.string(), &clock);
        scene->setHost(host);
        scene->setSize(240, 320);
        scene->m_ball = new Psprite();
        scene->m_shadow = new Psprite();
        scene->m_ballVelocity = new Vector3();
        scene->m_dragScratch = new Vector3();
    }
    void TearDown() override {
        scene->clear();
        std::filesystem::remove_all(m_saveFolder);
    }
    // Score texts of a known width and the two markers, as the content set-up makes them.
    void addOverlay() {
        scene->m_playerScoreText = new TextSprite();
        scene->m_opponentScoreText = new TextSprite();
        scene->m_opponentScoreText->setSize(20, 15);
        scene->m_playerIndicator = new Psprite();
        scene->m_playerIndicator->setPosition(6, 6);
        scene->m_opponentIndicator = new Psprite();
    }
    // Frames of the ball's update until the rally timer has run out once more.
    void runFrames(int32_t count) {
        scene->m_frameTime = 166;
        for (int32_t i = 0; i < count; ++i) {
            scene->updateBall();
        }
    }
    // A ball far above everything falls for longer than any test waits, so no bounce ends
    // the pause after a point early.
    void hangBallHigh() {
        scene->m_ball->setPos(0, 0x40000000, 0);
        scene->m_ballVelocity->setZero();
    }
    std::vector<int32_t> pixelPosition(Psprite& sprite) { return {fromFixed(sprite.x()), fromFixed(sprite.y())}; }

    StepClock clock;
    Ref<RecordingHost> host = new RecordingHost();
    Ref<MatchScene> scene = new MatchScene();

private:
    std::optional<RunContext> m_context;
    std::filesystem::path m_saveFolder =
        std::filesystem::temp_directory_path() / ("vornel-match-" + std::to_string(::getpid()));
};

TEST_F(MatchTest, ServiceChangesEveryTwoPointsAndTheServeWaitsStill) {
    const Fixed expectedZ[] = {-1762000, -1762000, 1762000, 1762000, -1762000, -1762000, 1762000};
    for (int32_t total = 0; total < 7; ++total) {
        scene->m_playerPoints = total / 2;
        scene->m_opponentPoints = total - total / 2;
        scene->m_ballVelocity->setComponents(100, -200, 300);
        scene->m_matchState = GameScene::kPointOver;
        scene->setUpServe();
        EXPECT_EQ(scene->m_ball->m_posZ, expectedZ[total]) << total;
        EXPECT_EQ(scene->m_serverFlag, expectedZ[total] < 0 ? 1 : 0) << total;
        EXPECT_EQ(scene->m_ball->m_posX, 0);
        EXPECT_EQ(scene->m_ball->m_posY, 1215823);
        EXPECT_EQ(scene->m_rallyTimer, 2000);
        EXPECT_EQ(scene->m_matchState, GameScene::kServePending);
        EXPECT_EQ(scene->m_ballVelocity->m_x | scene->m_ballVelocity->m_y | scene->m_ballVelocity->m_z, 0);
        EXPECT_EQ(scene->m_shadow->m_posZ, expectedZ[total]);  // the shadow lies under the ball
    }
}

TEST_F(MatchTest, APointPlaysItsSoundShakesTheScorersMarkerAndPausesFourSecondsEvenAt99) {
    scene->m_matchState = GameScene::kBounced;
    scene->awardPoint(true);
    EXPECT_EQ(scene->m_playerPoints, 1);
    EXPECT_EQ(scene->m_shakeTimer, -1000);
    EXPECT_EQ(scene->m_matchState, GameScene::kPointOver);
    EXPECT_EQ(scene->m_rallyTimer, 4000);
    scene->m_opponentPoints = 99;
    scene->m_rallyTimer = -30;
    scene->awardPoint(false);
    EXPECT_EQ(scene->m_opponentPoints, 99);  // the cap
    EXPECT_EQ(scene->m_shakeTimer, 1000);
    EXPECT_EQ(scene->m_rallyTimer, 4000);
    EXPECT_EQ(host->sounds, (std::vector<std::string>{"gong", "bad"}));
    scene->m_mute = true;
    scene->awardPoint(false);
    EXPECT_EQ(host->sounds.size(), 2u);  // sound off
}

TEST_F(MatchTest, TheGameEndsAt12To10OnlyOnceThePauseAfterThePointIsOver) {
    scene->m_playerPoints = 10;
    scene->m_opponentPoints = 10;
    hangBallHigh();
    scene->awardPoint(true);
    runFrames(25);  // 4000 ms run out in the 25th frame of 166 ms
    EXPECT_EQ(scene->m_playerPoints, 11);  // 11:10 is no lead of two: the next serve
    EXPECT_EQ(scene->m_matchState, GameScene::kServePending);

    hangBallHigh();
    scene->awardPoint(true);
    runFrames(24);
    EXPECT_EQ(scene->m_playerPoints, 12);  // 16 ms of the pause are left
    EXPECT_EQ(scene->m_matchState, GameScene::kPointOver);
    runFrames(1);
    EXPECT_EQ(scene->m_playerPoints, 0);
    EXPECT_EQ(scene->m_opponentPoints, 0);
    EXPECT_EQ(scene->m_matchState, GameScene::kServePending);
    EXPECT_EQ(scene->m_ball->m_posZ, -1762000);  // a new game: the player serves
    runFrames(30);
    EXPECT_EQ(scene->ends, (std::vector<std::vector<int32_t>>{{12, 10, 1}}));
}

TEST_F(MatchTest, TheScorersMarkerJumpsOnePixelEveryFrameForOneSecondAfterRelayout) {
    addOverlay();
    scene->awardPoint(true);
    scene->m_frameTime = 100;
    std::vector<int32_t> xs;
    for (int32_t frame = 0; frame < 12; ++frame) {
        scene->shakeIndicators();
        const std::vector<int32_t> at = pixelPosition(*scene->m_playerIndicator);
        EXPECT_EQ(at[0], at[1]);  // diagonally
        xs.push_back(at[0]);
    }
    EXPECT_EQ(xs, (std::vector<int32_t>{7, 6, 7, 6, 7, 6, 7, 6, 7, 6, 6, 6}));
    EXPECT_EQ(scene->m_shakeTimer, 0);

    scene->awardPoint(false);  // relayout puts the opponent's score and marker in the corner
    EXPECT_EQ(pixelPosition(*scene->m_opponentScoreText), (std::vector<int32_t>{216, 4}));  // 240 - 20 - 4
    EXPECT_EQ(pixelPosition(*scene->m_opponentIndicator), (std::vector<int32_t>{234, 6}));
    scene->m_frameTime = 700;
    scene->shakeIndicators();
    EXPECT_EQ(pixelPosition(*scene->m_opponentIndicator), (std::vector<int32_t>{235, 7}));
    scene->shakeIndicators();
    scene->shakeIndicators();  // the second of 700 ms frames ended the shake
    EXPECT_EQ(pixelPosition(*scene->m_opponentIndicator), (std::vector<int32_t>{234, 6}));
    EXPECT_EQ(pixelPosition(*scene->m_playerIndicator), (std::vector<int32_t>{6, 6}));
}

TEST_F(MatchTest, ASizeFromTheWindowThreadWaitsForTheNextFrameAndRefitsTheView) {
    addOverlay();
    scene->m_view = new TableWorld();
    scene->m_view->fitTo(*scene);
    std::thread window([this] { scene->setSize(320, 240); });
    window.join();
    EXPECT_EQ(scene->m_width, 240);  // the window thread only asked
    EXPECT_TRUE(scene->checkSize());
    EXPECT_EQ(scene->m_width, 320);
    EXPECT_EQ(scene->m_height, 240);
    EXPECT_EQ(scene->m_buffer.length(), 320 * 240);
    EXPECT_EQ(scene->m_view->m_fitWidth, 320);
    EXPECT_EQ(pixelPosition(*scene->m_opponentIndicator), (std::vector<int32_t>{314, 6}));
    EXPECT_FALSE(scene->checkSize());
    scene->setSize(240, 320);
    scene->setSize(320, 240);  // turned and turned back before the game looked
    EXPECT_FALSE(scene->checkSize());
}

// ---- The content set-up, on a bank of tiny pictures ----

// A run-length picture of opaque literal pixels with its anchor point.
test::Bytes picture(int32_t width, int32_t height, int32_t anchorX = 0, int32_t anchorY = 0) {
    test::Bytes record;
    test::appendVarInt(record, 'r');
    test::appendVarInt(record, static_cast<uint32_t>(width));
    test::appendVarInt(record, static_cast<uint32_t>(height));
    test::appendVarInt(record, static_cast<uint16_t>(anchorX));
    test::appendVarInt(record, static_cast<uint16_t>(anchorY));
    for (int32_t i = 0; i < width * height; ++i) {
        record.push_back(0x7F);  // white
        record.push_back(0xFF);
    }
    record.push_back(134);
    return record;
}

class ContentTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        std::vector<test::Bytes> pictures(16, picture(2, 2));
        pictures[0] = picture(480, 40);                // twice as wide as the screen
        pictures[6] = picture(240, 320, 120, 300);     // the table: the intro rises 60 pixels
        pictures[7] = picture(10, 10);
        pictures[11] = picture(20, 20);
        pictures[14] = picture(110, 4);
        m_folder.write("app", test::bankStream(pictures));
    }
    std::vector<Psprite*> childrenOf(Psprite& parent) {
        std::vector<Psprite*> children;
        for (Psprite* child = parent.m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
            children.push_back(child);
        }
        return children;
    }
    int32_t introFrames() { return static_cast<int32_t>(std::count(clock.sleeps.begin(), clock.sleeps.end(), 66u)); }

    test::BankFolder m_folder;
};

TEST_F(ContentTest, TheSceneAndTheOverlayAreBuiltAndAFreshGameWaitsForItsServe) {
    scene->setTouchScreen(true);
    scene->setUpContent();
    const std::vector<Psprite*> expected = {scene->m_view.get(), scene->m_playerIndicator.get(),
                                            scene->m_playerScoreText.get(), scene->m_opponentIndicator.get(),
                                            scene->m_opponentScoreText.get()};
    EXPECT_EQ(childrenOf(*scene), expected);  // loading picture and intro are gone
    EXPECT_EQ(childrenOf(*scene->m_view).size(), 5u);
    EXPECT_EQ(scene->m_ball->scale(), 0x19326 / 10);
    EXPECT_EQ(scene->m_playerBat->scale(), 0x50000 / 20);
    EXPECT_EQ(scene->m_playerBat->opacity(), 0x4000);
    EXPECT_EQ(scene->m_opponentBat->m_posZ, 0x20E2D0);
    EXPECT_EQ(pixelPosition(*scene->m_playerScoreText), (std::vector<int32_t>{4, 4}));
    EXPECT_EQ(pixelPosition(*scene->m_opponentIndicator), (std::vector<int32_t>{234, 6}));
    EXPECT_EQ(scene->m_matchState, GameScene::kServePending);
    EXPECT_EQ(scene->m_ball->m_posZ, -1762000);
    EXPECT_EQ(scene->m_penSteering, 1);
    // From 300 down past 240: 8 pixels after the fade's last frame of 32 ms, then 16 a frame.
    EXPECT_EQ(introFrames(), 5);
}

TEST_F(ContentTest, ALoadingPictureWiderThanTheScreenIsShrunkToFitAndCentred) {
    std::vector<int32_t> loading;
    host->onPresent = [&] {
        Psprite* first = scene->m_firstChild.get();
        if (loading.empty() && first != nullptr) {
            loading = {first->scale(), fromFixed(first->x()), fromFixed(first->y())};
        }
    };
    scene->setUpContent();
    EXPECT_EQ(loading, (std::vector<int32_t>{0x4000, 0, 150}));  // 480 x 40 drawn as 240 x 20
    EXPECT_EQ(scene->m_penSteering, 0);
}

TEST_F(ContentTest, TurningTheScreenDuringTheIntroEndsItWithTheViewInItsNewPlace) {
    clock.onSleep = [this] { scene->setSize(320, 240); };
    scene->setUpContent();
    EXPECT_EQ(introFrames(), 0);
    EXPECT_EQ(scene->m_width, 320);
    EXPECT_EQ(scene->m_view->m_fitWidth, 320);
    EXPECT_EQ(childrenOf(*scene).size(), 5u);
}

}  // namespace
}  // namespace vornel
