// Virtual device time, for runs without a window: the handheld's threads (script, window,
// audio, game) take turns, one at a time, and device time moves on only when every one of
// them waits; it then jumps to the earliest moment one of them waits for. What the game sees
// is then a pure function of its input, however busy the machine is; a run goes as fast as
// the processor allows, or at most speedLimit times faster than real time.
//
// The turn passes only when its holder waits (a sleep, a wait for its doorbell, for another
// thread to leave, a yield) or leaves. The next holder is the first in the order of roles that
// can go on: a thread counts as able to go on from the moment its doorbell rings, so that a
// message posted to the window is handled before time moves on. Threads that do not take
// part (a listener for other copies, the signal handler's thread, a watchdog) never hold
// time back: their rings are taken whenever they come, and their sleeps wait for device time
// without being waited for.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "core/Clock.h"

namespace vornel {

class VirtualClock final : public Clock {
public:
    // speedLimit: device time runs at most this many times faster than real time; 0: no limit.
    explicit VirtualClock(int32_t speedLimit = 0);
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    uint32_t ticks() override { return static_cast<uint32_t>(microseconds() / 1000); }
    uint64_t microseconds() override { return m_now.load(std::memory_order_acquire); }
    void sleep(uint32_t milliseconds) override;

    bool isVirtual() const override { return true; }
    void enroll(Role role) override;
    void attach(Role role) override;
    void leave() override;
    void awaitLeft(Role role) override;
    void yield() override;
    void wake(Role role) override;
    bool waitForWake(Role role, uint64_t deadline) override;
    std::chrono::steady_clock::time_point realTimeOf(uint64_t deviceMicroseconds) override;

    int32_t speedLimit() const { return m_speedLimit; }
    // Grows with every turn handed on and every step of time.
    uint64_t progress() const { return m_progress.load(std::memory_order_relaxed); }
    // Whether time waits for real time to catch up with the speed limit.
    bool isPacing();
    // Device time and what each thread is doing, in one line.
    std::string describe();

private:
    enum class State { kAbsent, kReady, kRunning, kWaiting };
    static constexpr int32_t kNobody = -1;

    struct Participant {
        State state = State::kAbsent;
        bool wakeable = false;     // waiting: a ring ends the wait
        bool yielding = false;     // ready: goes after every other thread that is ready
        bool rung = false;
        uint64_t deadline = kNever;  // waiting: the moment the wait ends
        int32_t awaiting = kNobody;  // waiting: the role whose leaving ends the wait
        std::condition_variable turn;
    };

    // The calling thread's role on this clock, or kNobody.
    int32_t self() const;
    Participant& of(int32_t role) { return m_participants[static_cast<std::size_t>(role)]; }
    // The holder waits: m_holder is let go, the turn handed on, and the caller blocks until
    // the turn is its own again.
    void waitAs(std::unique_lock<std::mutex>& lock, int32_t me, uint64_t deadline, bool wakeable,
                int32_t awaiting = kNobody);
    // Hands the turn to the first thread that can go on, one that yields only when no other
    // can; moves time on when none can. The caller holds m_lock and nobody holds the turn.
    void handOn();
    void giveTurnTo(int32_t role);
    // Moves time to the earliest deadline; false when nobody waits for a moment, or when real
    // time must first catch up (pacing).
    bool stepTime();
    void waitForTurn(std::unique_lock<std::mutex>& lock, int32_t me);
    void passiveWait(std::unique_lock<std::mutex>& lock, uint64_t deadline, int32_t role);

    const int32_t m_speedLimit;
    const std::chrono::steady_clock::time_point m_launch;

    std::mutex m_lock;
    std::array<Participant, kRoles> m_participants;
    int32_t m_holder = kNobody;
    bool m_pacing = false;
    std::chrono::steady_clock::time_point m_pacedUntil;
    std::condition_variable m_moved;  // time moved or a thread left: for those not taking part
    std::atomic<uint64_t> m_now{0};
    std::atomic<uint64_t> m_progress{0};
};

}  // namespace vornel
