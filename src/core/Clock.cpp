// The system clock, the doorbells of a clock in real time, and the two time services.
#include "core/Clock.h"

#include <atomic>
#include <thread>

#include "core/RunContext.h"

namespace vornel {
namespace {

class SystemClock final : public Clock {
public:
    uint32_t ticks() override { return static_cast<uint32_t>(microseconds() / 1000); }
    uint64_t microseconds() override {
        const auto elapsed = std::chrono::steady_clock::now() - m_start;
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
    }
    void sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

}  // namespace

// Never destroyed: the game thread may still ask for the time while the process exits.
Clock& Clock::system() {
    static Clock* const clock = new SystemClock();
    return *clock;
}

void Clock::wake(Role role) {
    Doorbell& doorbell = m_doorbells[static_cast<std::size_t>(role)];
    {
        std::lock_guard<std::mutex> guard(m_doorbellLock);
        doorbell.rung = true;
    }
    doorbell.changed.notify_all();
}

bool Clock::waitForWake(Role role, uint64_t deadline) {
    Doorbell& doorbell = m_doorbells[static_cast<std::size_t>(role)];
    std::unique_lock<std::mutex> lock(m_doorbellLock);
    const auto rung = [&doorbell] { return doorbell.rung; };
    if (deadline == kNever) {
        doorbell.changed.wait(lock, rung);
    } else if (!doorbell.changed.wait_until(lock, realTimeOf(deadline), rung)) {
        return false;
    }
    doorbell.rung = false;
    return true;
}

// A clock whose device time runs as fast as real time.
std::chrono::steady_clock::time_point Clock::realTimeOf(uint64_t deviceMicroseconds) {
    const uint64_t now = microseconds();
    const uint64_t ahead = deviceMicroseconds > now ? deviceMicroseconds - now : 0;
    return std::chrono::steady_clock::now() + std::chrono::microseconds(ahead);
}

Clock& Clock::current() {
    return RunContext::current().clock();
}

uint32_t tickCount() {
    return Clock::current().ticks();
}

void sleepMilliseconds(uint32_t milliseconds) {
    Clock::current().sleep(milliseconds);
}

}  // namespace vornel
