// A playback's pause, steps, speed and seeks.
#include "demo/ReplayPace.h"

#include <algorithm>

namespace vornel {
namespace {

// A paused game looks again this often even when nothing rings it, device milliseconds.
constexpr uint64_t kPausedLookMs = 50;

}  // namespace

void ReplayPace::setPaused(bool paused) {
    m_steps.store(0);
    m_paused.store(paused);
    rebase();
    wakeGame();
}

void ReplayPace::step() {
    if (m_paused.load()) {
        m_steps.fetch_add(1);
        rebase();
        wakeGame();
    }
}

int32_t ReplayPace::slower() {
    const int32_t speed = std::max(kSlowestEighths, m_speedEighths.load() / 2);
    m_speedEighths.store(speed);
    rebase();
    return speed;
}

int32_t ReplayPace::faster() {
    const int32_t speed = std::min(kFastestEighths, m_speedEighths.load() * 2);
    m_speedEighths.store(speed);
    rebase();
    return speed;
}

void ReplayPace::seekTo(uint32_t framesEnded) {
    m_seekTarget.store(framesEnded);
    rebase();
    wakeGame();
}

void ReplayPace::release() {
    m_released.store(true);
    wakeGame();
}

void ReplayPace::resume() {
    m_released.store(false);
    m_frames.store(0);
    m_recordedTicks.store(0);
    rebase();
}

uint32_t ReplayPace::holdFor(uint32_t recorded, uint32_t live) {
    m_recordedTicks.store(recorded);
    if (isSeeking() || m_released.load()) {
        return 0;
    }
    if (m_rebase.exchange(false)) {
        m_baseLive = live;
        m_baseRecorded = recorded;
        return 0;
    }
    const auto recordedSince = static_cast<int64_t>(static_cast<int32_t>(recorded - m_baseRecorded));
    const int64_t due = recordedSince * kNormalEighths / m_speedEighths.load();
    const int64_t ahead = due - static_cast<int32_t>(live - m_baseLive);
    return ahead > 0 ? static_cast<uint32_t>(ahead) : 0;
}

void ReplayPace::frameEnded(uint32_t framesEnded) {
    m_frames.store(framesEnded);
    if (const uint32_t target = m_seekTarget.load(); target != 0 && framesEnded >= target) {
        m_seekTarget.store(0);
        rebase();
    }
    if (isSeeking()) {
        return;
    }
    while (m_paused.load() && !m_released.load() && !isSeeking()) {
        int32_t steps = m_steps.load();
        if (steps > 0 && m_steps.compare_exchange_strong(steps, steps - 1)) {
            return;
        }
        m_clock.waitForWake(Clock::Role::kGame, m_clock.microseconds() + kPausedLookMs * 1000);
    }
}

}  // namespace vornel
