// Device time in real time: milliseconds since launch, running --speed times faster than real
// time. A window keeps this clock; a headless run keeps virtual time (VirtualClock).
#pragma once

#include <chrono>
#include <cstdint>

#include "core/Clock.h"

namespace vornel {

class DeviceClock final : public Clock {
public:
    using RealTime = std::chrono::steady_clock::time_point;

    // speed: device milliseconds per real millisecond, at least 1.
    explicit DeviceClock(int32_t speed);

    uint32_t ticks() override;
    // Sleeps milliseconds of device time, that is milliseconds / speed of real time.
    void sleep(uint32_t milliseconds) override;
    uint64_t microseconds() override;

    int32_t speed() const { return m_speed; }
    // The real moment at which device time reaches microseconds (rounded up, so that a
    // thread woken then finds that time reached).
    RealTime realTimeOf(uint64_t microseconds) override;

private:
    const int32_t m_speed;
    const RealTime m_launch;
};

}  // namespace vornel
