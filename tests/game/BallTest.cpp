// The ball: sub-stepped flight, bounces on table and floor, the net, the reach of the bats,
// the strokes, the rally rules that bounces drive, and the start of a frame's match update.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "game/GameScene.h"
#include "sprites/Menu.h"

namespace vornel {
namespace {

constexpr Fixed kTableLevel = 874210;
constexpr Fixed kNetTop = 1073177;

class RecordingHost : public ScreenHost {
public:
    void presentRect(int32_t, int32_t, int32_t, int32_t) override {}
    void playSound(const String& name, int32_t) override {
        sounds.emplace_back(name.text());
        if (onSound) {
            onSound();
        }
    }
    std::vector<std::string> sounds;
    std::function<void()> onSound;
};

// Records the match calls the ball makes instead of scoring, saving and serving for real.
class BallScene : public GameScene {
public:
    void awardPoint(bool toPlayer) override {
        points.push_back(toPlayer);
        depthSpeedAtPoint = m_ballVelocity->m_z;
        m_matchState = kPointOver;
        m_rallyTimer = 4000;
    }
    void setUpServe() override {
        calls.emplace_back("serve");
        m_matchState = kServePending;
        m_rallyTimer = 2000;
    }
    void showFortune(bool won) override { calls.emplace_back(won ? "won" : "lost"); }

    std::vector<bool> points;
    std::vector<std::string> calls;
    Fixed depthSpeedAtPoint = 0;

protected:
    ~BallScene() override = default;
};

Ref<Psprite> spriteAt(Fixed x, Fixed y, Fixed z) {
    Ref<Psprite> sprite = new Psprite();
    sprite->setPos(x, y, z);
    return sprite;
}

class BallTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene->setHost(host);
        scene->m_ball = spriteAt(0, 3000000, -1000000);
        scene->m_ballVelocity = new Vector3();
        scene->m_dragScratch = new Vector3();
        scene->m_shadow = spriteAt(0, 0, 0);
        scene->m_playerBat = spriteAt(0, 900000, -1900000);
        scene->m_opponentBat = spriteAt(0, 900000, 1900000);
        scene->m_frameTime = 25;  // 500 units of game time: one sub-step a frame
        scene->m_rallyTimer = 100000;
    }

    void place(Fixed x, Fixed y, Fixed z, Fixed vx, Fixed vy, Fixed vz, int32_t state) {
        scene->m_ball->setPos(x, y, z);
        scene->m_ballVelocity->setComponents(vx, vy, vz);
        scene->m_matchState = state;
    }
    Vector3& velocity() { return *scene->m_ballVelocity; }
    Psprite& ball() { return *scene->m_ball; }
    // A falling ball just above the table at depth z, bounced by one frame.
    void bounceOnTableAt(Fixed z, int32_t state) {
        place(0, kTableLevel + 100, z, 0, -100000, 0, state);
        scene->updateBall();
    }

    Ref<RecordingHost> host = new RecordingHost();
    Ref<BallScene> scene = new BallScene();
};

TEST_F(BallTest, AThirtyTwoMillisecondFrameOnEasyIsTwoSubStepsOf512And128) {
    place(0, 3000000, -1000000, 0, 0, 0, GameScene::kPointOver);
    scene->m_frameTime = 32;  // 32 · 32 · 0.625 = 640 units of game time
    scene->updateBall();
    // 512: vy = fmul(512, g) = -202422, drag +3 (n = 6) -> -202419; y moves fmul(vy, 512) = -3163.
    // 128: vy = -202419 + fmul(128, g) = -253025, drag +1 (n = 7) -> -253024; y moves -989.
    EXPECT_EQ(ball().m_posY, 3000000 - 3163 - 989);
    EXPECT_EQ(velocity().m_y, -253024);
}

TEST_F(BallTest, TheGameClockRunsAFifthFasterOnTouchScreensAndOnHard) {
    for (int32_t hard = 0; hard <= 1; ++hard) {
        scene->setTouchScreen(hard == 0);
        scene->m_hardLevel = hard;
        place(0, 3000000, -1000000, 0, 0, 0, GameScene::kPointOver);
        scene->m_frameTime = 32;  // 32 · 32 · 0.75 = 768 units: 512 and 256
        scene->updateBall();
        // 256: vy = -202419 + fmul(256, g) = -303630, drag +5 (n = 9); y moves -2373.
        EXPECT_EQ(ball().m_posY, 3000000 - 3163 - 2373);
    }
}

TEST_F(BallTest, TheSurfaceIsTheOneUnderTheBallWhereTheSubStepStarts) {
    // Starts over the table's end and leaves it during the sub-step: it still bounces there.
    place(0, kTableLevel + 100, -1761000, 0, -100000, -0x100000, GameScene::kPointOver);
    scene->updateBall();
    EXPECT_LT(ball().m_posZ, -GameScene::kTableHalfLength);
    EXPECT_EQ(host->sounds, std::vector<std::string>{"bounce"});
}

TEST_F(BallTest, ALongFrameIsSimulatedAs166Milliseconds) {
    place(0, 3000000, -1000000, 100000, 0, 200000, GameScene::kPointOver);
    scene->m_frameTime = 166;
    scene->updateBall();
    const Fixed clampedY = ball().m_posY;
    place(0, 3000000, -1000000, 100000, 0, 200000, GameScene::kPointOver);
    scene->m_frameTime = 1000;
    scene->updateBall();
    EXPECT_EQ(ball().m_posY, clampedY);
    EXPECT_EQ(scene->m_rallyTimer, 100000 - 2 * 166);
}

TEST_F(BallTest, ADroppedBallBouncesOnceKeeping88HundredthsOfItsSpeed) {
    place(0, GameScene::kServeHeight, -1000000, 0, 0, 0, GameScene::kPointOver);
    Fixed speedBefore = 0;
    host->onSound = [&] { speedBefore = velocity().m_y; };
    for (int frame = 0; frame < 100 && velocity().m_y <= 0; ++frame) {
        scene->updateBall();
    }
    EXPECT_EQ(host->sounds, std::vector<std::string>{"bounce"});
    ASSERT_LT(speedBefore, -2000000);  // about 91 units a second after a fall of 10.4
    EXPECT_EQ(velocity().m_y, -fmul(speedBefore, 28835));
    EXPECT_GE(ball().m_posY, kTableLevel);
}

TEST_F(BallTest, ASlowBallComesToRestOnTheTable) {
    place(0, kTableLevel + 10, -1000000, 0, -1000, 0, GameScene::kPointOver);
    scene->updateBall();
    EXPECT_EQ(velocity().m_y, 0);
    EXPECT_EQ(ball().m_posY, kTableLevel);
}

TEST_F(BallTest, TheOvershootBelowTheTableIsMirroredAndTheLevelItselfCounts) {
    // How far this ball falls in one sub-step, measured high above the table.
    place(0, 3000000, -1000000, 0, -2000000, 0, GameScene::kPointOver);
    scene->updateBall();
    const Fixed drop = 3000000 - ball().m_posY;

    place(0, kTableLevel + drop - 1000, -1000000, 0, -2000000, 0, GameScene::kPointOver);
    scene->updateBall();
    EXPECT_EQ(ball().m_posY, kTableLevel + 1000);
    place(0, kTableLevel + drop, -1000000, 0, -2000000, 0, GameScene::kPointOver);
    scene->updateBall();
    EXPECT_EQ(ball().m_posY, kTableLevel);
    EXPECT_GT(velocity().m_y, 0);
    EXPECT_EQ(host->sounds, (std::vector<std::string>{"bounce", "bounce"}));
}

TEST_F(BallTest, TheNetStopsABallAndGivesThePointAgainstItsStriker) {
    place(0, 900000, -100, 0, 0, 0x100000, GameScene::kToReceiver);
    scene->updateBall();
    EXPECT_EQ(ball().m_posZ, -100);
    EXPECT_EQ(velocity().m_z, -fmul(scene->depthSpeedAtPoint, 26214));
    EXPECT_EQ(scene->points, std::vector<bool>{false});

    place(0, 900000, 100, 0, 0, -0x100000, GameScene::kPointOver);  // also after the point
    scene->updateBall();
    EXPECT_EQ(scene->points, (std::vector<bool>{false, true}));
}

TEST_F(BallTest, ABallOneUnitAboveTheNetBandPassesOver) {
    // How far this ball drops in one sub-step, measured away from the net.
    place(0, 1200000, -1000000, 0, 0, 0x100000, GameScene::kToReceiver);
    scene->updateBall();
    const Fixed drop = 1200000 - ball().m_posY;

    place(0, kNetTop + 1 + drop, -100, 0, 0, 0x100000, GameScene::kToReceiver);
    scene->updateBall();
    EXPECT_EQ(ball().m_posY, kNetTop + 1);
    EXPECT_GT(ball().m_posZ, 0);
    place(0, kNetTop + drop, -100, 0, 0, 0x100000, GameScene::kToReceiver);
    scene->updateBall();
    EXPECT_EQ(ball().m_posZ, -100);
}

TEST_F(BallTest, TheFarWallTurnsTheBallBackOnlyBehindTheOpponent) {
    place(0, 3000000, 5898000, 0, 0, 0x100000, GameScene::kPointOver);
    scene->updateBall();
    EXPECT_LT(velocity().m_z, 0);
    place(0, 3000000, -5898000, 0, 0, -0x100000, GameScene::kPointOver);
    scene->updateBall();
    EXPECT_LT(velocity().m_z, 0);
}

TEST_F(BallTest, BouncesDriveTheRally) {
    bounceOnTableAt(-1000000, GameScene::kServeInFlight);  // a serve's first bounce, anywhere
    EXPECT_EQ(scene->m_matchState, GameScene::kToReceiver);
    scene->m_serverFlag = 1;  // the player struck: the ball must land on the opponent's side
    bounceOnTableAt(1000000, GameScene::kToReceiver);
    EXPECT_EQ(scene->m_matchState, GameScene::kBounced);
    EXPECT_TRUE(scene->points.empty());
    bounceOnTableAt(-100, GameScene::kToReceiver);  // back on the striker's own side
    scene->m_serverFlag = 0;
    bounceOnTableAt(100, GameScene::kToReceiver);
    bounceOnTableAt(1000000, GameScene::kBounced);  // a second bounce: the side it lies on loses
    bounceOnTableAt(-1000000, GameScene::kBounced);
    bounceOnTableAt(-1000000, GameScene::kPointOver);  // between points nothing counts
    EXPECT_EQ(scene->points, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(host->sounds.size(), 7u);
}

TEST_F(BallTest, ABallAtRestOnTheFloorEndsTheRallyTimerWhereItLies) {
    place(1400000, 31156 + 50, 0, 0, -1000, 100, GameScene::kPointOver);  // beside the table
    scene->m_rallyTimer = 3000;
    scene->updateBall();
    EXPECT_EQ(scene->m_rallyTimer, 0);
    EXPECT_EQ(ball().m_posY, 31156 + 50);
    EXPECT_TRUE(host->sounds.empty());
    scene->updateBall();
    EXPECT_EQ(scene->calls, std::vector<std::string>{"serve"});
}

TEST_F(BallTest, TheFloorTakesAFifthAndABallStillCreepingOnIsNotAtRest) {
    place(1400000, 31156 + 50, 0, 0, -1000, -159, GameScene::kPointOver);
    scene->m_rallyTimer = 3000;
    scene->updateBall();
    EXPECT_EQ(velocity().m_z, -128);  // -159 + fmul(159, 6553) = -159 + 31
    EXPECT_EQ(scene->m_rallyTimer, 3000 - 25);
    EXPECT_NE(ball().m_posY, 31156 + 50);
}

TEST_F(BallTest, TheGameEndsAt12To10OnlyWhenTheRallyTimerRunsOut) {
    scene->m_playerPoints = 12;
    scene->m_opponentPoints = 10;
    scene->m_matchState = GameScene::kPointOver;
    scene->m_rallyTimer = 40;
    scene->updateBall();
    EXPECT_TRUE(scene->calls.empty());
    scene->updateBall();
    EXPECT_EQ(scene->calls, (std::vector<std::string>{"won", "serve"}));

    scene->calls.clear();
    scene->m_playerPoints = 11;  // 11:10 goes on
    scene->m_matchState = GameScene::kPointOver;
    scene->m_rallyTimer = 0;
    scene->updateBall();
    EXPECT_EQ(scene->calls, std::vector<std::string>{"serve"});
}

TEST_F(BallTest, AServeHangsStillUntilABatReachesIt) {
    place(0, GameScene::kServeHeight, -GameScene::kTableHalfLength, 0, 0, 0, GameScene::kServePending);
    scene->updateBall();  // the bat is 138000 behind the ball: out of reach
    EXPECT_EQ(ball().m_posY, GameScene::kServeHeight);
    EXPECT_EQ(ball().m_posZ, -GameScene::kTableHalfLength);
    scene->m_playerBat->setPos(0, 900000, -1800000);
    scene->updateBall();
    EXPECT_EQ(scene->m_matchState, GameScene::kServeInFlight);
    EXPECT_GT(ball().m_posZ, -GameScene::kTableHalfLength);
    EXPECT_LT(ball().m_posY, GameScene::kServeHeight);
}

TEST_F(BallTest, WithoutABallNothingHappens) {
    scene->m_ball = nullptr;
    scene->m_rallyTimer = 0;
    scene->updateBall();
    EXPECT_EQ(scene->m_rallyTimer, 0);
    EXPECT_TRUE(scene->calls.empty());
    scene->m_playerBat = nullptr;
    scene->m_matchState = GameScene::kBounced;
    EXPECT_FALSE(scene->tryHit(0, 900000, -1900000));
}

// ---- Strokes ----

TEST_F(BallTest, TheBatReaches3InDepthAnd5Sideways) {
    const Fixed batZ = -1900000;
    const struct {
        Fixed dx, dz;
        bool strikes;
    } cases[] = {{163840, 98304, true},    {-163840, -98304, true}, {0, 98305, false},
                 {0, -98305, false},       {163841, 0, false},      {-163841, 0, false}};
    for (const auto& c : cases) {
        scene->m_matchState = GameScene::kBounced;
        EXPECT_EQ(scene->tryHit(-c.dx, 900000, batZ - c.dz), c.strikes) << c.dx << " " << c.dz;
    }
    EXPECT_EQ(host->sounds, (std::vector<std::string>{"hit", "hit"}));
    scene->m_matchState = GameScene::kToReceiver;  // no strike while the ball travels
    EXPECT_FALSE(scene->tryHit(0, 900000, batZ));
}

TEST_F(BallTest, AStruckBallStaysInFrontOfTheBatForThatSubStep) {
    place(0, 900000, -1850000, 0, 0, -0x100000, GameScene::kBounced);
    scene->updateBall();
    EXPECT_EQ(ball().m_posZ, -1850000);
    EXPECT_GT(velocity().m_z, 0);
    EXPECT_EQ(host->sounds, std::vector<std::string>{"hit"});
}

TEST_F(BallTest, TheOpponentStepsInTowardAComingBallButNotPastTheTableEnd) {
    scene->m_matchState = GameScene::kBounced;
    scene->m_frameTime = 32;
    EXPECT_FALSE(scene->tryHit(0, 900000, 1700000));  // 200000 in front of the bat
    EXPECT_EQ(scene->m_opponentBat->m_posZ, 1900000 - 32 * 1024);
    scene->tryHit(0, 900000, 1400000);  // more than 12.0 away: it waits
    EXPECT_EQ(scene->m_opponentBat->m_posZ, 1900000 - 32 * 1024);
    scene->m_opponentBat->setPos(0, 900000, 1770000);
    scene->tryHit(0, 900000, 1600000);
    EXPECT_EQ(scene->m_opponentBat->m_posZ, GameScene::kTableHalfLength);
}

// After seconds or an hour in the background, one frame steps the bat in no further than
// 166 ms worth, as every other rule of the match counts such a frame.
TEST_F(BallTest, ALongFrameStepsTheOpponentInAs166Milliseconds) {
    scene->m_matchState = GameScene::kBounced;
    for (const int32_t frameMs : {166, 5000, 3600000}) {
        scene->m_opponentBat->setPos(0, 900000, 2155216);  // on its base line
        scene->m_frameTime = frameMs;
        scene->tryHit(0, 900000, 2155216 - 200000);
        EXPECT_EQ(scene->m_opponentBat->m_posZ, 2155216 - 166 * 1024) << frameMs;
    }
}

TEST_F(BallTest, TheOpponentsServeLeavesSlightlyDownwardTowardTheNet) {
    place(0, GameScene::kServeHeight, GameScene::kTableHalfLength, 0, 0, 0, GameScene::kServePending);
    scene->m_opponentBat->setPos(0, 900000, GameScene::kTableHalfLength + 50000);
    ASSERT_TRUE(scene->tryHit(0, GameScene::kServeHeight, GameScene::kTableHalfLength));
    const double across = std::hypot(velocity().m_x, velocity().m_z) / 32768;
    EXPECT_LT(velocity().m_z, 0);
    EXPECT_LT(velocity().m_y, 0);
    EXPECT_GT(velocity().m_y / 32768.0, -0.1 * across);
    EXPECT_NEAR(across, 178.2, 1.5);  // carries 13.44 units in a vacuum at -4.24°
    EXPECT_EQ(scene->m_matchState, GameScene::kServeInFlight);
    EXPECT_EQ(scene->m_serverFlag, 0);
}

TEST_F(BallTest, AStraightStrokeOfThePlayerAimsAtTheFarEnd) {
    // d = 1500000 + 881000 = 2381000, yaw 0, pitch 1820 (20°): h = 2381072,
    // v = fsqrt(h · g / fsin(3640) = 21439) = 6866366; vx is fsin(0) = -1 unit of it.
    scene->m_matchState = GameScene::kBounced;
    scene->m_playerBat->setPos(0, 900000, -1500000);
    ASSERT_TRUE(scene->tryHit(0, 900000, -1500000));
    EXPECT_EQ(velocity().m_x, -194);
    EXPECT_EQ(velocity().m_y, 2534235);
    EXPECT_EQ(velocity().m_z, 6349434);
    EXPECT_EQ(scene->m_matchState, GameScene::kToReceiver);
    EXPECT_EQ(scene->m_serverFlag, 1);
}

TEST_F(BallTest, ABackwardSwingCountsAsNoneAndIsForgotten) {
    const auto strokeWithSwing = [&](Fixed swingZ) {
        scene->m_swingZ = swingZ;
        scene->m_matchState = GameScene::kBounced;
        scene->tryHit(0, 900000, -1900000);
        return velocity().m_y;
    };
    const Fixed still = strokeWithSwing(0);
    EXPECT_EQ(strokeWithSwing(-5000), still);
    EXPECT_EQ(scene->m_swingZ, 0);
    EXPECT_LT(strokeWithSwing(5120), still);  // forward: pitch 1800, flatter
}

TEST_F(BallTest, ThePlayersDirectionIsClampedToA26DegreeWindowAroundTheMiddle) {
    const auto sideSpeedFor = [&](Fixed batX, Fixed swingX, uint8_t pen) {
        scene->m_playerBat->setPos(batX, 900000, -1900000);
        scene->m_swingX = swingX;
        scene->m_penSteering = pen;
        scene->m_matchState = GameScene::kBounced;
        scene->tryHit(batX, 900000, -1900000);
        return velocity().m_x;
    };
    EXPECT_EQ(sideSpeedFor(0, 5000, 0), sideSpeedFor(0, 1183, 0));  // b = 0x68000 / 360
    EXPECT_EQ(sideSpeedFor(0, -5000, 0), sideSpeedFor(0, -1183, 0));
    EXPECT_NE(sideSpeedFor(0, 1182, 0), sideSpeedFor(0, 1183, 0));
    EXPECT_EQ(sideSpeedFor(0, 16 * 700, 1), sideSpeedFor(0, 700, 0));  // the pen's swing is /16
    EXPECT_EQ(sideSpeedFor(655360, 1000, 0), sideSpeedFor(655360, 273, 0));  // from x = 20.0
}

// The direction a yaw gives with the game's own sine and cosine, in degrees.
double degreesOf(double x, double z) {
    return std::atan2(x, z) * 180 / std::numbers::pi;
}

TEST_F(BallTest, TheOpponentReturnsTowardTheMiddleWithinItsLevelsWindow) {
    double lowest = 90;
    double highest = -90;
    for (int32_t hard = 0; hard <= 1; ++hard) {
        scene->m_hardLevel = hard;
        const Turn widest = hard != 0 ? -1456 : -910;  // 16° or 10°
        for (int i = 0; i < 200; ++i) {
            scene->m_matchState = GameScene::kBounced;
            scene->m_opponentBat->setPos(983040, 900000, 1900000);  // x = 30.0: b = -182
            ASSERT_TRUE(scene->tryHit(983040, 900000, 1900000));
            const double yaw = degreesOf(velocity().m_x, -velocity().m_z);
            EXPECT_LE(yaw, degreesOf(fsin(-182), fcos(-182)) + 0.01);
            EXPECT_GE(yaw, degreesOf(fsin(widest), fcos(widest)) - 0.01);
            EXPECT_LE(std::abs(scene->m_aimX), hard != 0 ? 786432 : 0);
            const double pitch = degreesOf(velocity().m_y, std::hypot(velocity().m_x, velocity().m_z));
            lowest = std::min(lowest, pitch);
            highest = std::max(highest, pitch);
        }
    }
    // Elevations from 10° to 20°, all of the range in use. (The game's sine and cosine are
    // not exactly on a circle, which blurs the measured elevation by up to 0.2°.)
    EXPECT_GE(lowest, degreesOf(fsin(910), fcos(910)) - 0.3);
    EXPECT_LT(lowest, degreesOf(fsin(1000), fcos(1000)));
    EXPECT_LE(highest, degreesOf(fsin(1820), fcos(1820)) + 0.3);
    EXPECT_GT(highest, degreesOf(fsin(1730), fcos(1730)));
}

// ---- The table and the shadow ----

TEST_F(BallTest, TheTableTopIncludesItsEdges) {
    EXPECT_TRUE(scene->isOverTable(1077411, 822607, -1762000));
    EXPECT_TRUE(scene->isOverTable(-1077411, 900000, 1762000));
    EXPECT_FALSE(scene->isOverTable(1077412, 900000, 0));
    EXPECT_FALSE(scene->isOverTable(0, 822606, 0));
    EXPECT_FALSE(scene->isOverTable(0, 900000, 1762001));
}

TEST_F(BallTest, TheShadowLiesOnTheTableOrFarOutOfSight) {
    scene->m_ball->setPos(1000, 900000, 2000);
    scene->placeShadow(scene->m_ball, scene->m_shadow);
    EXPECT_EQ(scene->m_shadow->m_posX, 1000);
    EXPECT_EQ(scene->m_shadow->m_posY, 855375);
    EXPECT_EQ(scene->m_shadow->m_posZ, 2000);
    scene->m_ball->setPos(1000, 800000, 2000);
    scene->placeShadow(scene->m_ball, scene->m_shadow);
    EXPECT_EQ(scene->m_shadow->m_posY, -392822784);
}

}  // namespace
}  // namespace vornel
