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

SystemClock g_systemClock;
std::atomic<Clock*> g_clock{&g_systemClock};

}  // namespace

Clock& Clock::current() {
    return *g_clock.load(std::memory_order_acquire);
}

Clock* Clock::install(Clock* clock) {
    Clock* previous = g_clock.exchange(clock != nullptr ? clock : &g_systemClock, std::memory_order_acq_rel);
    return previous == &g_systemClock ? nullptr : previous;
}

uint32_t tickCount() {
    return Clock::current().ticks();
}

void sleepMilliseconds(uint32_t milliseconds) {
    Clock::current().sleep(milliseconds);
}

}  // namespace vornel
