// The device clock as the game thread sees it while a demo records or plays back: that
// thread's tick reads go through the tape. Playing back, its own sleeps are skipped; they only
// let the other threads go first, so that on a virtual clock the window's thread handles what
// the game posted and comes back to wait, ready for the next paint (a seek skips even that). A
// paced playback instead holds each tick read until the clock beneath has come to the recorded
// moment (counted from the first read), so that every frame lasts as long as it did in the
// recording, late frames included; a timedemo runs flat out on the recorded times. Every
// other thread (the window's, the audio's) uses the clock beneath unchanged, and every wait
// of one thread for another is the clock beneath's.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "core/Clock.h"
#include "demo/DemoTape.h"
#include "demo/ReplayPace.h"

namespace vornel {

class TapedClock final : public Clock {
public:
    // The clock beneath and the tape must outlive this one.
    TapedClock(Clock& beneath, DemoTape& tape, bool pacedPlayback)
        : m_beneath(beneath), m_tape(tape), m_pacedPlayback(pacedPlayback) {}

    // A paced playback in the viewer keeps the viewer's pace instead of the recording's alone;
    // set before the game thread starts.
    void setPace(ReplayPace* pace) { m_pace = pace; }
    // The next game thread's first read starts the pace again (the viewer restarts the game).
    void rewind() { m_started = false; }

    // Makes the calling thread the one whose reads are taped; the game thread calls it first.
    void tapeThisThread() { m_tapedThread.store(std::this_thread::get_id()); }
    // No thread's reads are taped any more (a new thread may get an ended one's id).
    void stopTaping() { m_tapedThread.store(std::thread::id()); }

    uint32_t ticks() override;
    void sleep(uint32_t milliseconds) override;
    uint64_t microseconds() override { return m_beneath.microseconds(); }

    bool isVirtual() const override { return m_beneath.isVirtual(); }
    void enroll(Role role) override { m_beneath.enroll(role); }
    void attach(Role role) override { m_beneath.attach(role); }
    void leave() override { m_beneath.leave(); }
    void awaitLeft(Role role) override { m_beneath.awaitLeft(role); }
    void yield() override { m_beneath.yield(); }
    void wake(Role role) override { m_beneath.wake(role); }
    bool waitForWake(Role role, uint64_t deadline) override { return m_beneath.waitForWake(role, deadline); }
    std::chrono::steady_clock::time_point realTimeOf(uint64_t deviceMicroseconds) override {
        return m_beneath.realTimeOf(deviceMicroseconds);
    }

private:
    // Paced playback: waits until the clock beneath shows the recorded moment.
    void holdUntil(uint32_t recorded, uint32_t live);
    bool onTapedThread() const { return m_tapedThread.load() == std::this_thread::get_id(); }

    Clock& m_beneath;
    DemoTape& m_tape;
    const bool m_pacedPlayback;
    ReplayPace* m_pace = nullptr;
    std::atomic<std::thread::id> m_tapedThread{};
    bool m_started = false;  // paced playback: the first tick read has set the offset
    uint32_t m_offset = 0;   // the clock beneath minus the recorded time
};

}  // namespace vornel
