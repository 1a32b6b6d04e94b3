// The two bats: the player's, moved by keys, keypad digits or the pen with a speed ramp and a
// smoothed swing, and the computer opponent's, which retreats, follows the ball and serves.
#include <algorithm>
#include <cstdint>

#include "game/GameScene.h"
#include "game/MatchConstants.h"
#include "sprites/GameKey.h"

namespace vornel {

using namespace match;

namespace {

// ---- The player's bat ----
constexpr Fixed kPlayerMaxX = 1405091;       // 42.88 units either side of the middle
constexpr Fixed kPenDeadZone = 8191;         // a quarter of a unit: the pen does not jitter the bat
constexpr int32_t kMenuTapSquare = 64;       // pixels: a tap in the top left corner opens the menu

// ---- The opponent's bat ----
constexpr int32_t kOpponentFrameCapMs = 166;
constexpr Fixed kOpponentBaseLine = 2155216;
constexpr Fixed kRetreatPerMs = 512;
constexpr Fixed kStepInReach = 393216;       // 12.0: a ball this close in front keeps it forward
constexpr Fixed kWaitingStepPerMs = 1536;    // sideways speed toward the serve or the waiting place
constexpr int32_t kLimitFrameMs = 32;        // the sideways limits are per frame of this length
constexpr Fixed kEasyLimit = 0x8000;         // 1.0 unit per frame
constexpr Fixed kEasyPenLimit = 0xE000;      // 1.75: the pen is quicker than keys, so is the opponent
constexpr Fixed kHardLimit = 0xA000;         // 1.25
constexpr Fixed kHardPenLimit = 0x10000;     // 2.0
constexpr int32_t kGameTimePerMs = 32;       // about 0x8000 game time units per second

// ---- Bat pictures by sideways position, from far left to far right ----
constexpr int32_t kFirstBatPicture = 9;
constexpr Fixed kPictureBounds[] = {-786432, -262144, 262144, 786432};

// What the phone keypad's digits mean in play.
constexpr int32_t kPadMenu = GameKey::kDigit0;
constexpr int32_t kPadUp = GameKey::kDigit2;
constexpr int32_t kPadLeft = GameKey::kDigit4;
constexpr int32_t kPadForward = GameKey::kDigit5;
constexpr int32_t kPadRight = GameKey::kDigit6;
constexpr int32_t kPadDown = GameKey::kDigit8;

// One frame's movement of the player's bat, before the clamps.
struct BatStep {
    Fixed dx = 0;
    Fixed dz = 0;
};

// What a key press of the frame decided.
enum class Press {
    None,   // no press, or one that leaves the decision to the held keys and the pen
    Stand,  // the bat does not move this frame
    Move,   // the press moves the bat this frame
};

bool isHeld(GameScene& scene, int32_t key, int32_t padKey) { return scene.isKeyDown(key) || scene.isKeyDown(padKey); }

bool isMenuTap(GameScene& scene) {
    const int32_t x = scene.input().stylusX();
    const int32_t y = scene.input().stylusY();
    return x > 0 && x < kMenuTapSquare && y > 0 && y < kMenuTapSquare;
}

// A direction key steers with keys from now on: the pen lets go of the bat.
Press directionPress(GameScene& scene, BatStep& step, Fixed dx, Fixed dz) {
    scene.m_penSteering = 0;
    scene.input().releaseStylus();
    step.dx = dx;
    step.dz = dz;
    return Press::Move;
}

Press takeKeyPress(GameScene& scene, BatStep& step) {
    const int32_t key = scene.nextKey();
    const Fixed speed = scene.m_batSpeed;
    switch (key) {
        case GameKey::kNone:
            return Press::None;
        case kPadMenu:
        case GameKey::kSecondSoftKey:
        case GameKey::kBack:
            scene.runMainMenu();
            return Press::Stand;
        case GameKey::kConfirm:
            if (!isMenuTap(scene)) {
                return Press::None;
            }
            scene.runMainMenu();
            return Press::Stand;
        case GameKey::kLeft:
        case kPadLeft:
            return directionPress(scene, step, -speed, 0);
        case GameKey::kRight:
        case kPadRight:
            return directionPress(scene, step, speed, 0);
        case GameKey::kUp:
        case kPadUp:
            return directionPress(scene, step, 0, speed);
        case GameKey::kDown:
        case kPadDown:
            return directionPress(scene, step, 0, -speed);
        default:
            return Press::Stand;
    }
}

// The held keys, and the drift back to the base line while the pen is not in use. Answers
// whether they move the bat.
bool heldKeyStep(GameScene& scene, const Psprite& bat, BatStep& step) {
    const Fixed speed = scene.m_batSpeed;
    const bool penUnused = scene.input().stylusX() == 0;
    if (isHeld(scene, GameKey::kLeft, kPadLeft)) {
        step.dx = -speed;
    } else if (isHeld(scene, GameKey::kRight, kPadRight)) {
        step.dx = speed;
    }
    if (isHeld(scene, GameKey::kUp, kPadUp)) {
        step.dz = speed;
    } else if (penUnused && isHeld(scene, GameKey::kConfirm, kPadForward)) {
        step.dz = speed;
    } else if (isHeld(scene, GameKey::kDown, kPadDown)) {
        step.dz = -speed;
    } else if (penUnused && bat.m_posZ > kPlayerBaseLine) {
        step.dz = -speed;
    } else {
        return step.dx != 0;
    }
    return true;
}

// Where the pen points, taken back through the view's projection at the bat's depth (the
// camera's position and the height are left out). Answers false when the view cannot be
// undone: no view, or a zero divisor.
bool penTarget(GameScene& scene, const Psprite& bat, Fixed& targetX, Fixed& targetZ) {
    const TableWorld* view = scene.m_view.get();
    if (view == nullptr) {
        return false;
    }
    const Fixed focal = static_cast<Fixed>(view->m_focal >> 15);
    const Fixed divisor = fmul(view->m_scale, focal);
    const Fixed sinDivisor = -view->m_sin;
    if (divisor == 0 || sinDivisor == 0) {
        return false;
    }
    const int64_t twiceDepth = int64_t{bat.m_depth} * 2;
    const Fixed penX = scene.input().stylusX() * kFixedOne;
    const Fixed penY = scene.input().stylusY() * kFixedOne;
    targetX = static_cast<Fixed>(int64_t{penX - view->m_centreX} * twiceDepth / divisor);
    const Fixed up = static_cast<Fixed>(int64_t{view->m_centreY - penY} * twiceDepth / divisor);
    targetZ = static_cast<Fixed>(int64_t{up} * kFixedOne / sinDivisor);
    return true;
}

Fixed outsideDeadZone(Fixed difference) {
    return difference >= -kPenDeadZone && difference <= kPenDeadZone ? 0 : difference;
}

// No key moves the bat: the speed falls back to 0, and the pen, when in use, takes the bat
// to the point under it in one frame.
void penStep(GameScene& scene, const Psprite& bat, BatStep& step) {
    scene.m_batSpeed = 0;
    if (scene.input().stylusX() == 0) {
        return;
    }
    scene.m_penSteering = 1;
    Fixed targetX = 0;
    Fixed targetZ = 0;
    if (!penTarget(scene, bat, targetX, targetZ)) {
        return;
    }
    step.dx = outsideDeadZone(targetX - bat.m_posX);
    step.dz = outsideDeadZone(targetZ - bat.m_posZ);
}

// A change of direction takes effect at once; a steady movement is averaged, 1/4 on the newest.
Fixed smoothSwing(Fixed old, Fixed step) {
    if ((step > 0 && old <= 0) || (step < 0 && old >= 0)) {
        return step;
    }
    return (3 * old + step) >> 2;
}

// ---- The opponent ----

bool isHeadingAway(Fixed vz, Fixed batZ) { return (vz < 0) != (batZ < 0); }

// Back toward the base line unless the ball is just in front of the bat.
Fixed retreat(Fixed batZ, Fixed ballAhead, int32_t dt) {
    if (batZ < 1 || batZ > kOpponentBaseLine - 1) {
        return batZ;
    }
    if (ballAhead >= 0 && ballAhead <= kStepInReach) {
        return batZ;
    }
    return std::min(batZ + dt * kRetreatPerMs, kOpponentBaseLine);
}

Fixed sidewaysLimit(const GameScene& scene, int32_t dt) {
    const bool pen = scene.m_penSteering != 0;
    Fixed limit = scene.m_hardLevel != 0 ? (pen ? kHardPenLimit : kHardLimit) : (pen ? kEasyPenLimit : kEasyLimit);
    if (dt > kLimitFrameMs) {
        limit = limit * dt / kLimitFrameMs;
    }
    return limit;
}

Fixed stepToward(Fixed target, Fixed from, int32_t dt) {
    const Fixed most = kWaitingStepPerMs * dt;
    return std::clamp(target - from, -most, most);
}

// Toward where the ball will cross the bat's depth, covering this frame's share of the time
// that is left.
Fixed approachStep(const GameScene& scene, Fixed batX, Fixed ballAhead, int32_t dt) {
    const Fixed ballX = scene.m_ball->m_posX;
    if (ballX == batX) {
        return 0;
    }
    const Fixed vx = scene.m_ballVelocity->m_x;
    const Fixed vz = scene.m_ballVelocity->m_z;
    const Fixed across = static_cast<Fixed>(int64_t{fmul(vx, ballAhead)} * kFixedOne / vz);
    Fixed step = across;
    if (vx != 0) {
        const int64_t timeLeft = int64_t{across} * kFixedOne / vx;
        const int64_t time = timeLeft < 0 ? -timeLeft : timeLeft;
        if (time != 0) {
            const Fixed share = static_cast<Fixed>(int64_t{dt * kGameTimePerMs} * kFixedOne / time);
            if (share != 0) {
                step = fmul(ballX + across - batX, share);
            }
        }
    }
    const Fixed limit = sidewaysLimit(scene, dt);
    return std::clamp(step, -limit, limit);
}

Fixed opponentStep(const GameScene& scene, const Psprite& bat, Fixed ballAhead, int32_t dt) {
    const Fixed vz = scene.m_ballVelocity->m_z;
    if (isHeadingAway(vz, bat.m_posZ)) {
        const bool waits = scene.m_hardLevel == 0 || scene.m_playerPoints < scene.m_opponentPoints;
        return waits ? 0 : stepToward(scene.m_aimX, bat.m_posX, dt);
    }
    if (vz == 0) {
        return stepToward(scene.m_ball->m_posX, bat.m_posX, dt);
    }
    return approachStep(scene, bat.m_posX, ballAhead, dt);
}

}  // namespace

void GameScene::updatePlayer() {
    if (!m_playerBat) {
        return;
    }
    const int32_t dt = std::min(m_frameTime, kPlayerFrameCapMs);
    m_batSpeed = std::min(m_batSpeed + dt * kSpeedGainPerMs, kPlayerTopSpeed);
    BatStep step;
    if (takeKeyPress(*this, step) == Press::None && !heldKeyStep(*this, *m_playerBat, step)) {
        penStep(*this, *m_playerBat, step);
    }
    const Fixed x = std::clamp(m_playerBat->m_posX + step.dx, -kPlayerMaxX, kPlayerMaxX);
    const Fixed z = std::clamp(m_playerBat->m_posZ + step.dz, kPlayerFarthestZ, kPlayerNearestZ);
    placeBat(m_playerBat, x, z);
    m_swingX = smoothSwing(m_swingX, step.dx);
    m_swingZ = smoothSwing(m_swingZ, step.dz);
}

void GameScene::updateOpponent(Ref<Psprite> bat) {
    if (!bat || !m_ball || !m_ballVelocity) {
        return;
    }
    const int32_t dt = std::min(m_frameTime, kOpponentFrameCapMs);
    const Fixed ballAhead = bat->m_posZ - m_ball->m_posZ;
    const Fixed z = retreat(bat->m_posZ, ballAhead, dt);
    bat->m_posZ = z;
    if (m_matchState == kPointOver) {
        return;
    }
    const Fixed step = opponentStep(*this, *bat, ballAhead, dt);
    placeBat(bat, bat->m_posX + step, z);
    if (m_serverFlag == 0 && m_matchState == kServePending && step == 0 && m_rallyTimer <= 0) {
        tryHit(m_ball->m_posX, m_ball->m_posY, m_ball->m_posZ);
    }
}

void GameScene::placeBat(Ref<Psprite> bat, Fixed x, Fixed z) {
    if (!bat) {
        return;
    }
    bat->m_posX = x;
    bat->m_posZ = z;
    int32_t picture = kFirstBatPicture;
    for (const Fixed bound : kPictureBounds) {
        if (x < bound) {
            break;
        }
        ++picture;
    }
    bat->setPictureNumber(picture);
}

}  // namespace vornel
