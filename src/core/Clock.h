// The device clock: milliseconds since start and sleeping. The platform layer installs its
// own clock (a headless run speeds device time up); tests install a fake one.
#pragma once

#include <cstdint>

namespace vornel {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since the device started; 32 bits, wrapping.
    virtual uint32_t ticks() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;

    static Clock& current();
    // Installs a clock (null restores the system clock) and answers the one it replaces.
    static Clock* install(Clock* clock);
};

uint32_t tickCount();
void sleepMilliseconds(uint32_t milliseconds);

}  // namespace vornel
