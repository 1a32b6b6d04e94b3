// The bats: the player's keys, pen and swing, the opponent's retreat, sideways limits and
// serve, the bat pictures, and the built-in player against both levels of the opponent.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/Autoplayer.h"
#include "game/BallForecast.h"
#include "game/GameScene.h"

namespace vornel {
namespace {

constexpr Fixed kUnit = kFixedOne;
constexpr Fixed kBaseLine = -2155216;
constexpr Fixed kHeight = 0x128D4F;  // the bats' height above the floor

// A scene without pictures: the menu, the settings file and the end of a game are stand-ins;
// menu openings, strikes and points are counted.
class BatScene : public GameScene {
public:
    int32_t runMainMenu() override {
        ++m_menuRuns;
        return 0;
    }
    void saveSettings() override {}
    void showFortune(bool /*won*/) override { startNewGame(); }
    bool tryHit(Fixed x, Fixed y, Fixed z) override {
        if (m_recordHits) {
            m_hitZ.push_back(z);
            return false;
        }
        return GameScene::tryHit(x, y, z);
    }
    void awardPoint(bool toPlayer) override {
        ++(toPlayer ? m_pointsWon : m_pointsLost);
        GameScene::awardPoint(toPlayer);
    }
    int32_t m_menuRuns = 0;
    bool m_recordHits = false;
    std::vector<Fixed> m_hitZ;
    int32_t m_pointsWon = 0;
    int32_t m_pointsLost = 0;
};

Ref<Psprite> spriteAt(Fixed x, Fixed z) {
    Ref<Psprite> sprite = new Psprite();
    sprite->setPos(x, kHeight, z);
    return sprite;
}

// The arrows straight into the screen's key state, as the window would deliver them.
class DirectKeys : public AutoplayInput {
public:
    explicit DirectKeys(GameScene& scene) : m_scene(scene) {}
    void key(int32_t virtualKey, bool down) override {
        const int32_t code = virtualKey == 37 ? 1 : virtualKey == 39 ? 2 : virtualKey == 38 ? 3 : 4;
        down ? m_scene.keyDown(code) : m_scene.keyUp(code);
        m_events.push_back(down ? virtualKey : -virtualKey);
    }
    GameScene& m_scene;
    std::vector<int32_t> m_events;  // virtual keys, negative when let go
};

class BatsTest : public testing::Test {
protected:
    BatsTest() {
        m_scene->m_ball = spriteAt(0, 0);
        m_scene->m_ballVelocity = new Vector3();
        m_scene->m_dragScratch = new Vector3();
        m_scene->m_playerBat = spriteAt(0, kBaseLine);
        m_scene->m_opponentBat = spriteAt(0, -kBaseLine);
        m_scene->m_frameTime = 32;
    }
    Psprite& bat() { return *m_scene->m_playerBat; }
    Psprite& opponent() { return *m_scene->m_opponentBat; }
    void playerFrames(int32_t count) {
        for (int32_t i = 0; i < count; ++i) {
            m_scene->updatePlayer();
        }
    }
    void opponentFrame(int32_t ms) {
        m_scene->m_frameTime = ms;
        m_scene->updateOpponent(m_scene->m_opponentBat);
    }
    // A ball at (x, bat height, z) flying with (vx, 0, vz).
    void ballAt(Fixed x, Fixed z, Fixed vx, Fixed vz) {
        m_scene->m_ball->setPos(x, kHeight, z);
        m_scene->m_ballVelocity->setComponents(vx, 0, vz);
    }
    // The game's own loop for one frame, with the built-in player steering first.
    void gameFrame(Autoplayer& player) {
        player.frame();
        m_scene->updatePlayer();
        m_scene->updateBall();
        m_scene->updateOpponent(m_scene->m_opponentBat);
    }
    Ref<BatScene> m_scene = new BatScene();
};

TEST_F(BatsTest, HeldLeftRampsToTopSpeedAfterThirteenFrames) {
    m_scene->keyDown(1);
    playerFrames(12);
    EXPECT_EQ(m_scene->m_batSpeed, 98304);  // 12 × 32 ms × 256
    EXPECT_EQ(bat().m_posX, -8192 * 78);    // 1 + 2 + ... + 12 steps of 8192
    playerFrames(4);
    EXPECT_EQ(m_scene->m_batSpeed, 102400);
    EXPECT_EQ(bat().m_posX, -(8192 * 78 + 102400 * 4));
}

TEST_F(BatsTest, KeypadSixMovesRightInTheSameFrameAndTakesTheBatFromThePen) {
    m_scene->m_penSteering = 1;
    m_scene->input().setStylus(100, 0);
    m_scene->keyDown('6');
    m_scene->keyUp('6');
    playerFrames(1);
    EXPECT_EQ(bat().m_posX, 8192);
    EXPECT_EQ(m_scene->m_penSteering, 0);
    EXPECT_EQ(m_scene->input().stylusX(), 0);
}

TEST_F(BatsTest, UnheldBatDriftsBackToItsBaseLineAndStops) {
    bat().m_posZ = kBaseLine + 8192 + 16384;
    playerFrames(1);
    EXPECT_EQ(bat().m_posZ, kBaseLine + 16384);
    playerFrames(3);
    EXPECT_EQ(bat().m_posZ, kBaseLine);
    EXPECT_EQ(m_scene->m_batSpeed, 0);
}

TEST_F(BatsTest, TapInTheTopLeftSquareOpensTheMenuAndElsewhereSteers) {
    m_scene->input().setStylus(63, 1);
    m_scene->keyDown(5);
    playerFrames(1);
    EXPECT_EQ(m_scene->m_menuRuns, 1);
    EXPECT_EQ(m_scene->m_penSteering, 0);
    m_scene->input().setStylus(64, 1);
    m_scene->keyDown(5);
    playerFrames(1);
    EXPECT_EQ(m_scene->m_menuRuns, 1);
    EXPECT_EQ(m_scene->m_penSteering, 1);
    m_scene->keyDown('0');
    m_scene->keyDown(7);
    playerFrames(2);
    EXPECT_EQ(m_scene->m_menuRuns, 3);
    EXPECT_EQ(bat().m_posX, 0);
}

// A view with F = 1.0 at scale 1.0, centre (120, 200) pixels and −sin = 0.5, and a bat depth
// of 0x2000: 2e / fmul(s, F) = 0.5, so a pixel is half a unit, and z = u / 0.5.
class BatsPenTest : public BatsTest {
protected:
    BatsPenTest() {
        Ref<TableWorld> view = new TableWorld();
        view->m_focal = int64_t{kFixedOne} << 15;
        view->m_centreX = 120 * kUnit;
        view->m_centreY = 200 * kUnit;
        view->m_sin = -0x4000;
        m_scene->m_view = view;
        bat().m_depth = 0x2000;
        m_scene->input().setStylus(130, 240);  // 10 px right: x = 5.0; 40 px down: u = −20.0, z = −40.0
    }
};

TEST_F(BatsPenTest, PenPointIsTakenBackThroughTheProjectionInOneFrame) {
    playerFrames(1);
    EXPECT_EQ(bat().m_posX, 5 * kUnit);
    EXPECT_EQ(bat().m_posZ, -40 * kUnit);
    EXPECT_EQ(m_scene->m_penSteering, 1);
    EXPECT_EQ(m_scene->m_swingX, 5 * kUnit);
}

TEST_F(BatsPenTest, DifferencesOfAQuarterUnitOrLessAreIgnored) {
    bat().setPos(5 * kUnit - 8191, kHeight, -40 * kUnit + 8191);
    playerFrames(1);
    EXPECT_EQ(bat().m_posX, 5 * kUnit - 8191);
    EXPECT_EQ(bat().m_posZ, -40 * kUnit + 8191);
    bat().m_posX = 5 * kUnit - 8192;
    playerFrames(1);
    EXPECT_EQ(bat().m_posX, 5 * kUnit);
    m_scene->m_view->m_sin = 0;  // the projection cannot be undone: the bat stays
    m_scene->input().setStylus(20, 240);
    playerFrames(1);
    EXPECT_EQ(bat().m_posX, 5 * kUnit);
}

TEST_F(BatsPenTest, BatStaysInsideItsZone) {
    m_scene->input().setStylus(1000, 1);  // 440 units to the right, far beyond the net
    playerFrames(1);
    EXPECT_EQ(bat().m_posX, 1405091);
    EXPECT_EQ(bat().m_posZ, -393216);
    m_scene->m_batSpeed = 102400;
    bat().setPos(-1400000, kHeight, -2540000);
    m_scene->keyDown(1);
    m_scene->keyDown(4);
    playerFrames(2);  // one press a frame: left, then down
    EXPECT_EQ(bat().m_posX, -1405091);
    EXPECT_EQ(bat().m_posZ, -2548432);
}

TEST_F(BatsTest, SwingFollowsAChangeOfDirectionAtOnceAndAveragesASteadyOne) {
    bat().m_posZ = kBaseLine + 10 * kUnit;  // forward of the base line: it drifts back
    m_scene->keyDown(2);
    playerFrames(2);  // the press: 8192 right; then held: 16384 right, drifting 16384 back
    EXPECT_EQ(m_scene->m_swingX, (3 * 8192 + 16384) >> 2);
    EXPECT_EQ(m_scene->m_swingZ, -16384);
    m_scene->keyUp(2);
    m_scene->keyDown(1);
    playerFrames(1);  // the press: 24576 left at once, no drift
    EXPECT_EQ(m_scene->m_swingX, -24576);
    EXPECT_EQ(m_scene->m_swingZ, (3 * -16384) >> 2);
}

TEST_F(BatsTest, BatPictureFollowsItsSidewaysPlace) {
    const std::vector<std::pair<Fixed, int32_t>> cases = {{-786433, 9},  {-786432, 10}, {-262144, 11},
                                                          {262143, 11},  {262144, 12},  {786432, 13}};
    for (const auto& [x, picture] : cases) {
        m_scene->placeBat(m_scene->m_playerBat, x, -1000000);
        EXPECT_EQ(bat().m_picture, picture) << x;
    }
    EXPECT_EQ(bat().m_posZ, -1000000);
    EXPECT_EQ(bat().m_posY, kHeight);
}

TEST_F(BatsTest, MissingSpritesMakeTheUpdatesDoNothing) {
    Ref<BatScene> bare = new BatScene();
    bare->keyDown(1);
    bare->updatePlayer();
    bare->updateOpponent(nullptr);
    EXPECT_EQ(bare->nextKey(), 1);  // the press is still waiting
}

TEST_F(BatsTest, OpponentRetreatsToItsBaseLineAndNoFurther) {
    m_scene->m_matchState = GameScene::kPointOver;
    for (const auto& [from, to] : std::vector<std::pair<Fixed, Fixed>>{
             {-kBaseLine, -kBaseLine}, {2000000, 2000000 + 5120}, {2155000, -kBaseLine}}) {
        opponent().m_posZ = from;
        opponentFrame(10);
        EXPECT_EQ(opponent().m_posZ, to);
    }
    opponent().m_posZ = 2000000;
    m_scene->m_ball->m_posZ = 2000000 - 393216;  // just in front of it: it stays
    opponentFrame(10);
    EXPECT_EQ(opponent().m_posZ, 2000000);
}

TEST_F(BatsTest, OpponentWaitsWhileTheBallFliesTowardThePlayerExceptOnHard) {
    m_scene->m_matchState = GameScene::kToReceiver;
    m_scene->m_aimX = 20 * kUnit;
    ballAt(10 * kUnit, 0, 50 * kUnit, -200 * kUnit);
    opponentFrame(32);
    EXPECT_EQ(opponent().m_posX, 0);
    m_scene->m_hardLevel = 1;
    m_scene->m_opponentPoints = 1;  // the player is behind: Hard waits too
    opponentFrame(32);
    EXPECT_EQ(opponent().m_posX, 0);
    m_scene->m_opponentPoints = 0;
    opponentFrame(32);
    EXPECT_EQ(opponent().m_posX, 1536 * 32);
}

TEST_F(BatsTest, OpponentSidewaysStepIsLimitedByLevelAndPen) {
    // Level, pen, frame length and the step of a bat far from where the ball will arrive.
    const std::vector<std::array<int32_t, 4>> cases = {{0, 0, 32, 0x8000},  {0, 1, 32, 0xE000},  {1, 0, 32, 0xA000},
                                                       {1, 1, 32, 0x10000}, {0, 0, 64, 0x10000}, {1, 1, 64, 0x20000},
                                                       {0, 0, 16, 0x8000}};
    m_scene->m_matchState = GameScene::kToReceiver;
    for (const auto& [hard, pen, ms, step] : cases) {
        m_scene->m_hardLevel = hard;
        m_scene->m_penSteering = static_cast<uint8_t>(pen);
        opponent().m_posX = 0;
        ballAt(20 * kUnit, 0, 50 * kUnit, 200 * kUnit);  // arriving 36 units to its right
        opponentFrame(ms);
        EXPECT_EQ(opponent().m_posX, step) << hard << " " << pen << " " << ms;
    }
}

TEST_F(BatsTest, OpponentServesStandingAtTheBallOnceTheWaitIsOver) {
    m_scene->m_recordHits = true;
    m_scene->m_matchState = GameScene::kServePending;
    m_scene->m_rallyTimer = 100;
    ballAt(0, 1762000, 0, 0);
    opponentFrame(32);
    EXPECT_TRUE(m_scene->m_hitZ.empty());
    m_scene->m_rallyTimer = 0;
    opponent().m_posX = kUnit;
    opponentFrame(32);  // steps to the ball first
    EXPECT_TRUE(m_scene->m_hitZ.empty());
    opponentFrame(32);
    EXPECT_EQ(m_scene->m_hitZ, std::vector<Fixed>{1762000});
}

TEST_F(BatsTest, AutoplayerServesThroughTheArrowsAndLetsGoWhenStopped) {
    DirectKeys keys(*m_scene);
    Autoplayer player(*m_scene, keys);
    m_scene->startNewGame();
    player.frame();  // without the game's own update nothing moves the bat
    EXPECT_EQ(bat().m_posZ, kBaseLine);
    EXPECT_TRUE(m_scene->isKeyDown(3));
    for (int32_t i = 0; i < 60 && m_scene->m_matchState == GameScene::kServePending; ++i) {
        gameFrame(player);  // walks forward into the hanging ball
    }
    EXPECT_EQ(m_scene->m_matchState, GameScene::kServeInFlight);
    EXPECT_EQ(keys.m_events.front(), Autoplayer::kUpArrow);
    player.stop();
    EXPECT_FALSE(m_scene->isKeyDown(1) || m_scene->isKeyDown(2) || m_scene->isKeyDown(3) || m_scene->isKeyDown(4));
}

TEST_F(BatsTest, AutoplayerForecastFollowsTheBallsRealPath) {
    m_scene->m_matchState = GameScene::kToReceiver;
    m_scene->m_ball->setPos(10 * kUnit, 36 * kUnit, 60 * kUnit);
    m_scene->m_ballVelocity->setComponents(-30 * kUnit, 70 * kUnit, -250 * kUnit);
    bat().m_posX = 40 * kUnit;  // out of the way
    BallForecast forecast;
    forecast.follow(*m_scene);
    ASSERT_GT(forecast.size(), 10);
    for (int32_t i = 0; i < 200 && m_scene->m_matchState == GameScene::kToReceiver; ++i) {
        m_scene->updateBall();
    }
    ASSERT_EQ(m_scene->m_matchState, GameScene::kBounced);  // just bounced on the player's side
    const Psprite& ball = *m_scene->m_ball;
    int32_t near = 0;  // the forecast's point nearest the ball in depth
    for (int32_t i = 1; i < forecast.size(); ++i) {
        near = std::abs(forecast[i].z - ball.m_posZ) < std::abs(forecast[near].z - ball.m_posZ) ? i : near;
    }
    EXPECT_NEAR(forecast[near].z, ball.m_posZ, 2 * kUnit);  // half a sub-step apart at most
    EXPECT_NEAR(forecast[near].x, ball.m_posX, kUnit / 2);
    EXPECT_NEAR(forecast[near].y, ball.m_posY, 2 * kUnit);
}

TEST_F(BatsTest, AutoplayerWinsMostPointsAgainstEasyAndHard) {
    constexpr int32_t kPoints = 150;
    DirectKeys keys(*m_scene);
    Autoplayer player(*m_scene, keys);
    for (const int32_t hard : {0, 1}) {
        m_scene->m_hardLevel = hard;
        m_scene->m_pointsWon = 0;
        m_scene->m_pointsLost = 0;
        m_scene->startNewGame();
        for (int32_t frame = 0; frame < kPoints * 2000 && m_scene->m_pointsWon + m_scene->m_pointsLost < kPoints;
             ++frame) {
            gameFrame(player);
        }
        std::printf("autoplayer against %s: won %d, lost %d\n", hard != 0 ? "Hard" : "Easy", m_scene->m_pointsWon,
                    m_scene->m_pointsLost);
        EXPECT_GE(m_scene->m_pointsWon, kPoints * (hard != 0 ? 6 : 8) / 10);
    }
}

}  // namespace
}  // namespace vornel
