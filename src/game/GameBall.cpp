// The ball: its flight under gravity and drag, bounces off table and floor, the net, the far
// wall, the strokes of both bats, the shadow, and the rally rules that bounces and the net drive.
#include <algorithm>
#include <cstdint>

#include "core/Fixed.h"
#include "core/Random.h"
#include "core/String.h"
#include "game/GameScene.h"
#include "game/MatchConstants.h"

namespace vornel {

using namespace match;

namespace {

// World distances and speeds are Fixed units (0x8000 = 1.0); speeds are per second of game
// time, and 0x8000 of game time is one second.
constexpr Fixed kNetRestitution = 26214;       // 0.80 of the depth speed comes back off the net
constexpr Fixed kSubStep = 512;                // 1/64 s: the longest integration step
constexpr Fixed kShadowOverTable = 855375;     // 26.10: the shadow lies on the table top
constexpr Fixed kShadowHidden = -392822784;    // far below anything the view shows
constexpr Fixed kReachInDepth = 98304;         // 3.0
constexpr Fixed kReachSideways = 163840;       // 5.0
constexpr Fixed kStepInRange = 393216;         // 12.0: how far ahead the opponent steps in from
constexpr Fixed kStepInPerMs = 1024;           // the opponent's stepping speed, per ms of frame
constexpr Fixed kRallyLength = 881000;         // 26.89 beyond the ball's own distance to the net
constexpr Fixed kServeShortening = 1321500;    // 40.33: a serve lands on the server's own half
constexpr Fixed kHardAimReach = 786432;        // 24.0: where the Hard opponent may wait, either side

constexpr int32_t kWinningPoints = 11;
constexpr int32_t kWinningLead = 2;

// Angles in turns (0x8000 = 360°).
constexpr Turn kYawTopOffset = 0x68000;  // 13° once divided by 360: the widest yaw to the left
constexpr int32_t kDegreesPerTurn = 360;
constexpr Turn kYawWindow = 2366;        // 26°
constexpr Turn kEasyYawLimit = 910;      // 10°
constexpr Turn kHardYawLimit = 1456;     // 16°
constexpr Turn kServePitch = -386;       // 4.24° downward
constexpr Turn kFlattestPitch = 910;     // 10°
constexpr Turn kSteepestPitch = 1820;    // 20°

bool isGameOver(int32_t playerPoints, int32_t opponentPoints) {
    const int32_t lead = playerPoints > opponentPoints ? playerPoints - opponentPoints : opponentPoints - playerPoints;
    return (playerPoints >= kWinningPoints || opponentPoints >= kWinningPoints) && lead >= kWinningLead;
}

// The game runs a little faster where the pen makes the bat quicker, and on Hard.
Fixed gameTimeOf(int32_t frameMs, bool fast) {
    return fmul(frameMs * 32, fast ? kGameRateFast : kGameRateNormal);
}

// Air drag: an acceleration of -v·n²/32768 a second, n the speed in whole units, so a slow
// ball hardly feels it and a fast one a lot. The cheap length estimate stands in for a root.
void applyDrag(const Ref<Vector3>& velocity, const Ref<Vector3>& scratch, Fixed step) {
    scratch->assign(velocity);
    scratch->negate();
    const int32_t speed = scratch->approxLength() >> kFixedShift;
    scratch->multiply(speed * speed);  // n² taken as a raw Fixed factor
    velocity->addScaled(scratch, step);
}

// The opponent walks toward a ball that is coming but not yet in reach: frameMs·1024 units on
// every sub-step, never nearer the net than the end of the table. The caller clamps frameMs
// as every rule of the match does, so a pause of minutes cannot fling the bat away.
void stepOpponentIn(Psprite& bat, int32_t frameMs) {
    Fixed z = bat.m_posZ - frameMs * kStepInPerMs;
    if (z < GameScene::kTableHalfLength) {
        z = GameScene::kTableHalfLength;
    }
    bat.setPos(bat.m_posX, bat.m_posY, z);
}

// The speed that carries a ball thrown at the pitch over the horizontal distance h under
// gravity alone (no drag, so real strokes fall short): v² = h·g / sin(2·pitch). fsin and fcos
// never answer 0 for any angle, so neither division can fault.
Fixed strokeSpeed(Fixed distance, Turn yaw, Turn pitch) {
    int64_t along = (int64_t{distance} * kFixedOne) / fcos(yaw);
    if (along < 0) {
        along = -along;
    }
    return fsqrt((along * kGravity) / fsin(2 * pitch));
}

}  // namespace

// ---- The frame ----

void GameScene::updateBall() {
    if (!m_ball || !m_ballVelocity || !m_dragScratch) {
        return;  // the scene is not set up yet
    }
    const int32_t frameMs = std::min(m_frameTime, kLongestFrameMs);
    m_rallyTimer -= frameMs;
    if (m_matchState == kPointOver && m_rallyTimer <= 0) {
        if (isGameOver(m_playerPoints, m_opponentPoints)) {
            showFortune(m_playerPoints > m_opponentPoints);
        }
        setUpServe();
    }
    Fixed x = m_ball->m_posX;
    Fixed y = m_ball->m_posY;
    Fixed z = m_ball->m_posZ;
    // A waiting serve hangs still until a bat reaches it.
    if (m_matchState == kServePending && !tryHit(x, y, z)) {
        return;
    }
    Fixed gameTime = gameTimeOf(frameMs, isTouchScreen() || m_hardLevel != 0);
    while (gameTime > 0) {
        const Fixed step = std::min(gameTime, kSubStep);
        gameTime -= step;
        if (!advanceBall(step, x, y, z)) {
            return;
        }
    }
    m_ball->setPos(x, y, z);
}

bool GameScene::advanceBall(Fixed step, Fixed& x, Fixed& y, Fixed& z) {
    const Ref<Vector3> velocity = m_ballVelocity;  // held: the rally calls below are virtual
    const Fixed z0 = z;
    const Fixed gravityStep = fmul(step, kGravity);
    velocity->m_y += gravityStep;
    applyDrag(velocity, m_dragScratch, step);
    // The surface under the ball is decided where the sub-step starts.
    const bool overTable = isOverTable(x, y, z);
    x += fmul(velocity->m_x, step);
    y += fmul(velocity->m_y, step);
    z += fmul(velocity->m_z, step);
    const Fixed level = overTable ? kTableLevel : kFloorLevel;
    if (y <= level && !bounceBall(level, overTable, gravityStep, y, z)) {
        return false;
    }
    if (tryHit(x, y, z)) {
        z = z0;  // the ball stays in front of the bat for this sub-step
    }
    hitNet(z0, y, z);
    if (z > kFarWall && velocity->m_z > 0) {
        velocity->m_z = -velocity->m_z;
    }
    return true;
}

bool GameScene::bounceBall(Fixed level, bool onTable, Fixed gravityStep, Fixed& y, Fixed z) {
    rallyBounce(z);
    if (!onTable) {
        if (floorBounce()) {
            m_rallyTimer = 0;  // nothing more will happen in this rally: serve next frame
            return false;
        }
    } else {
        playSound(Ref<String>(String::fromLiteral("bounce")));
    }
    Vector3& velocity = *m_ballVelocity;
    y = level - (y - level);  // mirror the overshoot below the surface
    // Falling slower than two sub-steps of gravity: it would only hop on the spot, so it lies.
    if (velocity.m_y >= 2 * gravityStep && velocity.m_y <= 0) {
        velocity.m_y = 0;
        y = level;
    }
    velocity.m_y = -fmul(velocity.m_y, kBounceRestitution);
    return true;
}

void GameScene::hitNet(Fixed z0, Fixed y, Fixed& z) {
    const bool crossed = (z0 < 0) != (z < 0);
    if (!crossed || y < kTableTop || y > kNetTop) {
        return;
    }
    rallyNet(z0);
    z = z0;
    m_ballVelocity->m_z = -fmul(m_ballVelocity->m_z, kNetRestitution);
}

bool GameScene::floorBounce() {
    if (!m_ballVelocity || !m_dragScratch) {
        return false;
    }
    m_dragScratch->assign(m_ballVelocity);
    m_dragScratch->negate();
    m_ballVelocity->addScaled(m_dragScratch, kFloorDamping);
    const Fixed depthSpeed = m_ballVelocity->m_z;
    return depthSpeed > -kRestingSpeed && depthSpeed < kRestingSpeed;
}

// ---- The rally rules ----

void GameScene::rallyBounce(Fixed z) {
    const bool onPlayerSide = z < 0;
    switch (m_matchState) {
    case kServeInFlight:
        m_matchState = kToReceiver;
        break;
    case kToReceiver: {
        const bool strokeByPlayer = m_serverFlag != 0;
        if (onPlayerSide != strokeByPlayer) {
            m_matchState = kBounced;
        } else {
            awardPoint(!strokeByPlayer);  // it came back onto the striker's own side
        }
        break;
    }
    case kBounced:
        awardPoint(!onPlayerSide);  // a second bounce: the side it lies on loses
        break;
    default:
        break;  // between points and before the serve, bounces decide nothing
    }
}

void GameScene::rallyNet(Fixed oldZ) {
    awardPoint(oldZ >= 0);  // whoever put it into the net loses
}

// ---- Strokes ----

// The ball's height does not matter: a bat reaches a ball above or below it alike.
bool GameScene::tryHit(Fixed x, Fixed /*y*/, Fixed z) {
    if (m_matchState == kPointOver || m_matchState == kToReceiver || m_matchState == kServeInFlight) {
        return false;
    }
    const bool byPlayer = z < 0;
    const Ref<Psprite>& bat = byPlayer ? m_playerBat : m_opponentBat;
    if (!bat || !m_ballVelocity) {
        return false;
    }
    const Fixed dz = bat->m_posZ - z;
    if (dz < -kReachInDepth || dz > kReachInDepth) {
        if (z > 0 && dz >= 1 && dz <= kStepInRange) {
            stepOpponentIn(*bat, std::min(m_frameTime, kLongestFrameMs));
        }
        return false;
    }
    const Fixed dx = bat->m_posX - x;
    if (dx < -kReachSideways || dx > kReachSideways) {
        return false;
    }
    playSound(Ref<String>(String::fromLiteral("hit")));
    strike(byPlayer, bat->m_posX, z);
    return true;
}

void GameScene::strike(bool byPlayer, Fixed batX, Fixed z) {
    const bool serve = m_matchState == kServePending;
    const Turn yaw = strokeYaw(byPlayer, batX);
    const Turn pitch = serve ? kServePitch : strokePitch(byPlayer);
    const Fixed fromNet = z < 0 ? -z : z;
    const Fixed distance = serve ? fromNet - kServeShortening : fromNet + kRallyLength;
    const Fixed speed = strokeSpeed(distance, yaw, pitch);
    const Fixed across = fmul(fcos(pitch), speed);
    Fixed vz = fmul(fcos(yaw), across);
    if ((z < 0 && vz < 0) || (z > 0 && vz > 0)) {
        vz = -vz;  // away from the striker, toward the other side
    }
    m_ballVelocity->setComponents(fmul(fsin(yaw), across), fmul(fsin(pitch), speed), vz);
    m_serverFlag = z < 0 ? 1 : 0;
    if (m_matchState == kBounced) {
        m_matchState = kToReceiver;
    } else if (m_matchState == kServePending) {
        m_matchState = kServeInFlight;
    }
}

// The allowed directions span 26°, centred on minus half the bat's x (in units) taken as
// degrees, so a stroke from the side of the table points back toward its middle.
Turn GameScene::strokeYaw(bool byPlayer, Fixed batX) {
    const Turn widest = (kYawTopOffset - (batX >> 1)) / kDegreesPerTurn;
    const Turn narrowest = widest - kYawWindow;
    if (byPlayer) {
        const Turn swing = m_penSteering != 0 ? m_swingX >> 4 : m_swingX;
        return std::clamp(swing, narrowest, widest);
    }
    if (m_hardLevel == 0) {
        return randomRange(std::max(narrowest, -kEasyYawLimit), std::min(widest, kEasyYawLimit));
    }
    m_aimX = randomRange(-kHardAimReach, kHardAimReach);
    return randomRange(std::max(narrowest, -kHardYawLimit), std::min(widest, kHardYawLimit));
}

// A fast forward stroke of the player's bat gives a flatter ball; a backward one counts as
// none. The opponent picks any elevation from 10° to 20°.
Turn GameScene::strokePitch(bool byPlayer) {
    if (!byPlayer) {
        return randomRange(kFlattestPitch, kSteepestPitch);
    }
    if (m_swingZ < 0) {
        m_swingZ = 0;
    }
    return std::max(kSteepestPitch - (m_swingZ >> 8), kFlattestPitch);
}

// ---- The table and the shadow ----

bool GameScene::isOverTable(Fixed x, Fixed y, Fixed z) {
    return y >= kTableTop && x >= -kTableHalfWidth && x <= kTableHalfWidth && z >= -kTableHalfLength &&
           z <= kTableHalfLength;
}

bool GameScene::isSpriteOverTable(Ref<Psprite> sprite) {
    return sprite && isOverTable(sprite->m_posX, sprite->m_posY, sprite->m_posZ);
}

void GameScene::placeShadow(Ref<Psprite> ball, Ref<Psprite> shadow) {
    if (!shadow || !ball) {
        return;
    }
    const Fixed y = isSpriteOverTable(ball) ? kShadowOverTable : kShadowHidden;
    shadow->setPos(ball->m_posX, y, ball->m_posZ);
}

}  // namespace vornel
