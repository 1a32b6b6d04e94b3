// Device time: milliseconds since launch, running --speed times faster than real time, so
// that a headless test plays minutes of game in seconds.
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

    int32_t speed() const { return m_speed; }
    // Device microseconds since launch, for timelines finer than a tick (audio samples).
    uint64_t microseconds() const;
    // The real moment at which device time reaches microseconds (rounded up, so that a
    // thread woken then finds that time reached).
    RealTime realTimeOf(uint64_t microseconds) const;

private:
    const int32_t m_speed;
    const RealTime m_launch;
};

}  // namespace vornel
