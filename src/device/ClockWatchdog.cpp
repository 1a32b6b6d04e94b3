// Watching virtual time move.
#include "device/ClockWatchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace vornel {
namespace {

constexpr std::chrono::seconds kLookEvery{1};

}  // namespace

ClockWatchdog::ClockWatchdog(VirtualClock& clock, std::chrono::seconds patience)
    : m_clock(clock), m_patience(patience), m_thread([this] { watch(); }) {}

ClockWatchdog::~ClockWatchdog() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
    }
    m_stopped.notify_all();
    m_thread.join();
}

// Time waiting for real time to catch up with a speed limit is not standing still.
void ClockWatchdog::watch() {
    using Steady = std::chrono::steady_clock;
    uint64_t progress = m_clock.progress();
    Steady::time_point lastMove = Steady::now();
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_stopped.wait_for(lock, kLookEvery, [this] { return m_stopping; })) {
        const uint64_t now = m_clock.progress();
        if (now != progress || m_clock.isPacing()) {
            progress = now;
            lastMove = Steady::now();
        } else if (Steady::now() - lastMove >= m_patience) {
            reportStuck();
        }
    }
}

void ClockWatchdog::reportStuck() {
    std::fprintf(stderr, "vornel: device time has stood still for %lld s, so the run ends: %s\n",
                 static_cast<long long>(m_patience.count()), m_clock.describe().c_str());
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(kStuckStatus);
}

}  // namespace vornel
