// The pace of a playback in the replay viewer, shared by the window's thread (the viewer's
// commands) and the game's (its tick reads and frame ends, which it obeys). Playing, each tick
// read is held until its recorded moment comes at the chosen speed, counted from the last
// change (a resume, a step, a new speed or the end of a seek), so that no frame hurries to
// catch up; paused, the game waits at the end of a frame until a step or a resume; seeking,
// the game runs flat out until the target frame has ended.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/Clock.h"

namespace vornel {

class ReplayPace final {
public:
    // Speeds are eighths of the recorded pace: 1/8 to 16 times, doubled or halved a step.
    static constexpr int32_t kSlowestEighths = 1;
    static constexpr int32_t kNormalEighths = 8;
    static constexpr int32_t kFastestEighths = 128;

    // The clock beneath the taped one: every wait of the game is on it.
    explicit ReplayPace(Clock& beneath) : m_clock(beneath) {}

    // ---- The viewer's side (any thread) ----
    void setPaused(bool paused);
    bool isPaused() const { return m_paused.load(); }
    // While paused: one more frame, then paused again.
    void step();
    // Halves or doubles the speed within its bounds; answers the speed now.
    int32_t slower();
    int32_t faster();
    int32_t speedEighths() const { return m_speedEighths.load(); }
    // From now on until that many frames have ended the game runs flat out (0: none), and
    // then goes on as before (paused, or at its speed).
    void seekTo(uint32_t framesEnded);
    bool isSeeking() const { return m_seekTarget.load() != 0; }
    // Any wait of the game ends at once, for good (the game is being stopped).
    void release();
    // A fresh game starts (after a release), from no frame.
    void resume();
    // Frames ended so far and the recorded clock at the last of them (the viewer's position).
    uint32_t frames() const { return m_frames.load(); }
    uint32_t recordedTicks() const { return m_recordedTicks.load(); }
    // Whether sound is heard: at the recorded pace only, playing, not seeking; the flag the
    // sound gate follows (device/SoundGate.h).
    const std::atomic<bool>& audible() const { return m_audible; }

    // ---- The game's side ----
    // How long to hold a tick read of that recorded moment when the clock beneath shows live;
    // 0 while seeking.
    uint32_t holdFor(uint32_t recorded, uint32_t live);
    // A frame has ended: counts it, ends a seek that reached its target, and waits while
    // paused (a step lets one frame through).
    void frameEnded(uint32_t framesEnded);

private:
    void rebase() {
        m_rebase.store(true);
        m_audible.store(!m_paused.load() && !isSeeking() && m_speedEighths.load() == kNormalEighths);
    }
    void wakeGame() { m_clock.wake(Clock::Role::kGame); }

    Clock& m_clock;
    std::atomic<bool> m_paused{false};
    std::atomic<int32_t> m_steps{0};
    std::atomic<int32_t> m_speedEighths{kNormalEighths};
    std::atomic<uint32_t> m_seekTarget{0};
    std::atomic<bool> m_released{false};
    std::atomic<bool> m_rebase{true};
    std::atomic<uint32_t> m_frames{0};
    std::atomic<uint32_t> m_recordedTicks{0};
    std::atomic<bool> m_audible{true};
    // The game thread's own: the moments the pace counts from.
    uint32_t m_baseLive = 0;
    uint32_t m_baseRecorded = 0;
};

}  // namespace vornel
