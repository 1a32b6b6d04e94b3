// The built-in player: where to meet the ball, and which arrows take the bat there.
#include "game/Autoplayer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "game/GameScene.h"
#include "game/MatchConstants.h"
#include "sprites/Menu.h"

namespace vornel {

using namespace match;

namespace {

constexpr int32_t kUsualFrameMs = 32;

// How close is close enough: a bat reaches 5.0 units sideways and 3.0 in depth.
constexpr Fixed kSideSlack = 0x20000;   // 4.0: the bat need only come this close sideways
constexpr Fixed kDepthSlack = 0x10000;  // 2.0: no key for a smaller error in depth
constexpr Fixed kServeAligned = 0x18000;   // 3.0 sideways: close enough to walk into the serve
constexpr Fixed kServeWaitBehind = 0x60000;  // 6.0 behind the ball until lined up with it
constexpr Fixed kServeWalkPast = 0x10000;    // aim 2.0 past the ball so the bat surely reaches it

constexpr int32_t kFirstArrow = 37;  // left, up, right, down follow in virtual-key order

Fixed absolute(Fixed value) { return value < 0 ? -value : value; }

}  // namespace

Autoplayer::Autoplayer(GameScene& scene, AutoplayInput& input) : m_scene(scene), m_input(input) {}

Autoplayer::~Autoplayer() { stop(); }

void Autoplayer::frame() {
    if (!m_scene.m_playerBat || !m_scene.m_ball || !m_scene.m_ballVelocity) {
        stop();
        return;
    }
    releasePress();
    m_pressedThisFrame = false;
    const Spot spot = chooseSpot();
    steerAcross(spot.x);
    steerAlong(spot.z);
}

void Autoplayer::stop() {
    for (int32_t key = kLeftArrow; key <= kDownArrow; ++key) {
        hold(key, false);
    }
    releasePress();
}

// ---- Menus and panels ----

void Autoplayer::beginModal() {
    stop();
    m_pauseMs = kReadingMs;
    m_seenSelection = -1;
    m_ownStep = false;
}

// "Resume" and "New Game" are the first two items, so going up always reaches one of them.
void Autoplayer::menuFrame(int32_t selectedKey) {
    if (releasePress()) {
        return;
    }
    if (selectedKey != m_seenSelection) {
        m_pauseMs = m_ownStep || m_seenSelection < 0 ? std::max(m_pauseMs, kMenuStepMs) : kReadingMs;
        m_seenSelection = selectedKey;
        m_ownStep = false;
    }
    if (!pauseOver()) {
        return;
    }
    const bool playItem = selectedKey == 'R' || selectedKey == 'N';
    m_ownStep = !playItem;
    m_pauseMs = kMenuStepMs;
    press(playItem ? kEnter : kUpArrow);
}

void Autoplayer::panelFrame() {
    if (releasePress() || !pauseOver()) {
        return;
    }
    m_pauseMs = kMenuStepMs;
    press(kEnter);
}

bool Autoplayer::pauseOver() {
    m_pauseMs -= frameMs();
    return m_pauseMs <= 0;
}

void Autoplayer::press(int32_t virtualKey) {
    m_pressedKey = virtualKey;
    m_input.key(virtualKey, true);
}

bool Autoplayer::releasePress() {
    if (m_pressedKey == 0) {
        return false;
    }
    m_input.key(m_pressedKey, false);
    m_pressedKey = 0;
    return true;
}

Autoplayer::Spot Autoplayer::chooseSpot() {
    if (m_scene.m_matchState == GameScene::kServePending && m_scene.m_serverFlag != 0) {
        return serveSpot();
    }
    m_forecast.follow(m_scene);
    return meetingSpot();
}

// Line up with the hanging ball from behind it, then walk into it.
Autoplayer::Spot Autoplayer::serveSpot() const {
    const Psprite& ball = *m_scene.m_ball;
    const bool linedUp = absolute(m_scene.m_playerBat->m_posX - ball.m_posX) <= kServeAligned;
    return Spot{ball.m_posX, ball.m_posZ + (linedUp ? kServeWalkPast : -kServeWaitBehind)};
}

// Meet the ball where the forecast says; keep to the last meeting point while the ball is on
// its way but out of the forecast's reach; with no ball to meet, the middle of the base line.
Autoplayer::Spot Autoplayer::meetingSpot() {
    const int32_t chosen = bestSample();
    if (chosen >= 0) {
        m_lastMeeting = Spot{m_forecast[chosen].x, m_forecast[chosen].z};
        m_hasLastMeeting = true;
    } else if (!m_forecast.isComing()) {
        m_hasLastMeeting = false;
    }
    return m_hasLastMeeting ? m_lastMeeting : Spot{0, kPlayerBaseLine};
}

// Of the points where the ball may be struck, the highest one the bat can get to in time:
// a ball struck high clears the net. When none can be reached, the one that needs the
// shortest way across.
int32_t Autoplayer::bestSample() const {
    const Psprite& bat = *m_scene.m_playerBat;
    const Fixed perFrame = gameTimePerFrame();
    int32_t best = -1;
    int32_t nearest = -1;
    Fixed nearestShortfall = 0;
    for (int32_t i = 0; i < m_forecast.size(); ++i) {
        const BallForecast::Sample& sample = m_forecast[i];
        if (sample.z > kPlayerNearestZ + kDepthSlack || sample.z < kPlayerFarthestZ - kDepthSlack) {
            continue;
        }
        const Fixed reach = reachIn(sample.time / perFrame);
        const Fixed shortfall = absolute(sample.x - bat.m_posX) - reach - kSideSlack;
        const bool inTime = shortfall <= 0 && absolute(sample.z - bat.m_posZ) <= reach + kDepthSlack;
        if (inTime && (best < 0 || sample.y > m_forecast[best].y)) {
            best = i;
        }
        if (nearest < 0 || shortfall < nearestShortfall) {
            nearest = i;
            nearestShortfall = shortfall;
        }
    }
    return best >= 0 ? best : nearest;
}

// Each frame with a key held ramps the speed by the frame's gain up to the top speed; the
// distance is the sum of the speeds, taken in closed form.
Fixed Autoplayer::reachIn(int32_t frames) const {
    const int64_t gain = kSpeedGainPerMs * std::min(frameMs(), kPlayerFrameCapMs);
    const int64_t start = std::min(m_scene.m_batSpeed, kPlayerTopSpeed);
    const int64_t rampFrames = std::min<int64_t>(frames, gain > 0 ? (kPlayerTopSpeed - start - 1) / gain : 0);
    const int64_t ramped = std::max<int64_t>(rampFrames, 0);
    const int64_t reach = ramped * start + gain * ramped * (ramped + 1) / 2 + (frames - ramped) * int64_t{kPlayerTopSpeed};
    return static_cast<Fixed>(std::min<int64_t>(reach, std::numeric_limits<Fixed>::max()));
}

Fixed Autoplayer::nextStep() const {
    return std::min(m_scene.m_batSpeed + kSpeedGainPerMs * std::min(frameMs(), kPlayerFrameCapMs), kPlayerTopSpeed);
}

Fixed Autoplayer::gameTimePerFrame() const {
    const bool fast = m_scene.isTouchScreen() || m_scene.m_hardLevel != 0;
    const Fixed perFrame = fmul(std::min(frameMs(), kLongestFrameMs) * 32, fast ? kGameRateFast : kGameRateNormal);
    return std::max(perFrame, Fixed{1});
}

// The last frame's length stands for the next one's; before the first, the usual 32 ms.
int32_t Autoplayer::frameMs() const { return m_scene.m_frameTime > 0 ? m_scene.m_frameTime : kUsualFrameMs; }

// Holds an arrow while the bat is more than half a step away, so it stops within half a step.
void Autoplayer::steerAcross(Fixed targetX) {
    const Fixed error = targetX - m_scene.m_playerBat->m_posX;
    const Fixed halfStep = nextStep() / 2;
    hold(kLeftArrow, error < -halfStep);
    hold(kRightArrow, error > halfStep);
}

// Forward with the up arrow, back with the down arrow; with neither held the bat drifts
// back to its base line by itself.
void Autoplayer::steerAlong(Fixed targetZ) {
    const Fixed error = targetZ - m_scene.m_playerBat->m_posZ;
    hold(kUpArrow, error > kDepthSlack);
    hold(kDownArrow, error < -kDepthSlack);
}

void Autoplayer::hold(int32_t virtualKey, bool held) {
    bool& current = m_held[static_cast<std::size_t>(virtualKey - kFirstArrow)];
    if (current == held || (held && m_pressedThisFrame)) {
        return;
    }
    current = held;
    m_pressedThisFrame = m_pressedThisFrame || held;
    m_input.key(virtualKey, held);
}

}  // namespace vornel
