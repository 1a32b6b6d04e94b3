// Device time in the browser: the device clock's milliseconds, and a sleep that first lets the
// window's messages through (the game runs on the page's only thread) and then yields to the
// page until the time is up, so that its events and painting go on meanwhile.
#pragma once

#include <cstdint>
#include <functional>

#include "core/Clock.h"
#include "platform/DeviceClock.h"

namespace vornel {

class WebClock final : public Clock {
public:
    // pump runs before every sleep; the device clock must outlive this one.
    WebClock(DeviceClock& device, std::function<void()> pump) : m_device(device), m_pump(std::move(pump)) {}

    uint32_t ticks() override { return m_device.ticks(); }
    void sleep(uint32_t milliseconds) override;

private:
    DeviceClock& m_device;
    std::function<void()> m_pump;
};

}  // namespace vornel
