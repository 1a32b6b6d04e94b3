// Device time in the browser: the device clock's milliseconds, and a sleep that first lets the
// window's messages through (the game runs on the page's only thread), hands what they
// painted to the page, then yields to the page until the time is up, so that its events and
// painting go on meanwhile, and lets the messages those events posted through again; a poll
// for a paint that the first messages made is over at once.
#pragma once

#include <cstdint>
#include <functional>

#include "core/Clock.h"

namespace vornel {

class WebClock final : public Clock {
public:
    // The game's polls for the paint of a rectangle wait this long at a time.
    static constexpr uint32_t kPaintPollMs = 1;

    // pump runs before every sleep and answers whether it painted; show runs before every
    // yield to the page, told whether the page gets real time before the game goes on. The
    // device clock, whose time runs speed times faster than real time, must outlive this one.
    WebClock(Clock& device, int32_t speed, std::function<bool()> pump, std::function<void(bool)> show)
        : m_device(device), m_speed(speed > 1 ? speed : 1), m_pump(std::move(pump)), m_show(std::move(show)) {}

    uint32_t ticks() override { return m_device.ticks(); }
    uint64_t microseconds() override { return m_device.microseconds(); }
    void sleep(uint32_t milliseconds) override;
    // The page's one thread cannot be rung while it waits: it sleeps a short while (letting
    // the messages and the page through) and answers that it was not rung; its caller looks
    // again.
    bool waitForWake(Role role, uint64_t deadline) override;

private:
    Clock& m_device;
    const int32_t m_speed;
    std::function<bool()> m_pump;
    std::function<void(bool)> m_show;
};

}  // namespace vornel
