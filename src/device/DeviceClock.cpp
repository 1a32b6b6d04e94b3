// Device time scaled from the steady clock.
#include "device/DeviceClock.h"

#include <algorithm>
#include <thread>

namespace vornel {

DeviceClock::DeviceClock(int32_t speed) : m_speed(std::max<int32_t>(speed, 1)), m_launch(std::chrono::steady_clock::now()) {}

uint32_t DeviceClock::ticks() {
    return static_cast<uint32_t>(microseconds() / 1000);
}

void DeviceClock::sleep(uint32_t milliseconds) {
    const uint64_t realMicroseconds = (uint64_t{milliseconds} * 1000 + m_speed - 1) / m_speed;
    std::this_thread::sleep_for(std::chrono::microseconds(realMicroseconds));
}

uint64_t DeviceClock::microseconds() {
    const auto elapsed = std::chrono::steady_clock::now() - m_launch;
    const uint64_t nanoseconds = static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count());
    // Split so that a long run at speed 1000 cannot overflow 64 bits.
    return nanoseconds / 1000 * m_speed + nanoseconds % 1000 * m_speed / 1000;
}

DeviceClock::RealTime DeviceClock::realTimeOf(uint64_t microseconds) {
    const uint64_t realNanoseconds = (microseconds * 1000 + m_speed - 1) / m_speed;
    return m_launch + std::chrono::nanoseconds(realNanoseconds);
}

}  // namespace vornel
