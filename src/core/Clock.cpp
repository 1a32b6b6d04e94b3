// The system clock and the two time services.
#include "core/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace vornel {
namespace {

class SystemClock final : public Clock {
public:
    uint32_t ticks() override {
        const auto elapsed = std::chrono::steady_clock::now() - m_start;
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }
    void sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// Never destroyed: the game thread may still ask for the time while the process exits.
Clock& systemClock() {
    static Clock* const clock = new SystemClock();
    return *clock;
}

std::atomic<Clock*> g_installed{nullptr};

}  // namespace

Clock& Clock::current() {
    Clock* installed = g_installed.load(std::memory_order_acquire);
    return installed != nullptr ? *installed : systemClock();
}

Clock* Clock::install(Clock* clock) {
    return g_installed.exchange(clock, std::memory_order_acq_rel);
}

uint32_t tickCount() {
    return Clock::current().ticks();
}

void sleepMilliseconds(uint32_t milliseconds) {
    Clock::current().sleep(milliseconds);
}

}  // namespace vornel
