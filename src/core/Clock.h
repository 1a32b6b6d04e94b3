// The device clock: milliseconds since start, sleeping, and the waits of the device's threads
// for one another. The device has its own clock (a headless run keeps virtual time), which the
// run's context hands the game's time services; tests set up a context with a fake one.
//
// The threads of the emulated handheld (the window's, the game's, the audio output's and an
// input script's) wait for one another only through their clock: a thread waits for its
// doorbell or for a moment of device time, and whoever has work for it rings it. A clock in
// real time serves these waits with condition variables; a virtual clock (platform's
// VirtualClock) lets one thread run at a time and moves device time on only when all wait.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vornel {

class Clock {
public:
    // The threads that take turns. When several can go on at one moment of device time, they go
    // in this order: what comes from outside the handheld (a script's input) first, then the
    // handheld's system (the window's messages, finished sound buffers), then the game, which so
    // sees everything that happened up to that moment.
    enum class Role : int32_t { kScript, kWindow, kAudio, kGame };
    static constexpr std::size_t kRoles = 4;
    static constexpr uint64_t kNever = UINT64_MAX;

    virtual ~Clock() = default;
    // Milliseconds since the device started; 32 bits, wrapping.
    virtual uint32_t ticks() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
    // Device microseconds since start, for timelines finer than a tick (audio samples).
    virtual uint64_t microseconds() { return uint64_t{ticks()} * 1000; }

    // ---- Threads taking turns (only a virtual clock keeps the turns) ----
    // Whether device time advances only when every taking part thread waits.
    virtual bool isVirtual() const { return false; }
    // The thread about to be started for the role takes part from now on: its starter calls
    // this before starting it, so that no moment passes without it.
    virtual void enroll(Role role) { (void)role; }
    // First thing on the thread that was enrolled for the role: waits for its turn.
    virtual void attach(Role role) { (void)role; }
    // The calling thread takes part no more; its last act before it ends.
    virtual void leave() {}
    // Waits until the role's thread has left, as a join must first (the thread needs turns to
    // reach its end).
    virtual void awaitLeft(Role role) { (void)role; }
    // Lets every other thread that can go on now run first; no device time passes.
    virtual void yield() {}

    // Rings the role's doorbell: something was posted to its thread. Any thread.
    virtual void wake(Role role);
    // The role's own thread: waits until its doorbell rings (true; the ring is taken) or device
    // time reaches the deadline in microseconds (false). A ring that came before the wait ends
    // it at once, so that nothing posted between a look and the wait is missed.
    virtual bool waitForWake(Role role, uint64_t deadline);

    // The real moment at which device time reaches the moment given; the waits of a clock in
    // real time end then.
    virtual std::chrono::steady_clock::time_point realTimeOf(uint64_t deviceMicroseconds);

    // The run's clock (core/RunContext.h).
    static Clock& current();
    // Device time as fast as real time, from the process's start.
    static Clock& system();

private:
    struct Doorbell {
        bool rung = false;
        std::condition_variable changed;
    };
    std::mutex m_doorbellLock;
    std::array<Doorbell, kRoles> m_doorbells;
};

uint32_t tickCount();
void sleepMilliseconds(uint32_t milliseconds);

}  // namespace vornel
