// A watch in real time over a run on virtual time: should device time stand still for a
// minute (a thread of the handheld waits for something that is not the clock, or runs on
// without ever waiting), it says on stderr what each thread is doing and ends the process with
// status 3, so that a hang never holds up whoever started the run. It reads the real clock,
// but decides nothing the game sees.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "device/VirtualClock.h"

namespace vornel {

class ClockWatchdog final {
public:
    static constexpr std::chrono::seconds kPatience{60};
    static constexpr int kStuckStatus = 3;

    explicit ClockWatchdog(VirtualClock& clock, std::chrono::seconds patience = kPatience);
    ClockWatchdog(const ClockWatchdog&) = delete;
    ClockWatchdog& operator=(const ClockWatchdog&) = delete;
    // Ends the watch.
    ~ClockWatchdog();

private:
    void watch();
    [[noreturn]] void reportStuck();

    VirtualClock& m_clock;
    const std::chrono::seconds m_patience;
    std::mutex m_lock;
    std::condition_variable m_stopped;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace vornel
