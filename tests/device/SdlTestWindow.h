// An SdlDevice on SDL's windowless "dummy" video driver, for tests that feed it real SDL
// events: it answers the input messages those events became, in order.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <vector>

#include "DeviceTestSupport.h"
#include "backends/sdl/SdlDevice.h"

namespace vornel::testing_support {

struct Seen {
    MessageType type;
    uint32_t wParam;
    uint32_t lParam = 0;
    bool operator==(const Seen&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << "{type " << static_cast<int>(seen.type) << ", " << seen.wParam << ", " << lowWord(seen.lParam)
               << ":" << highWord(seen.lParam) << "}";
}

class SdlTestWindow {
public:
    // Fails the test when the window cannot be opened; call through ASSERT_NO_FATAL_FAILURE.
    // realTime: SDL's audio in real time rather than virtual time and the headless output.
    void open(const DeviceProfile& profile, int32_t zoom, bool realTime = false) {
        create(profile, zoom, realTime);
        if (m_device) {
            show();
        }
    }

    // The window made but not shown yet, for tests that draw into the display first.
    void create(const DeviceProfile& profile, int32_t zoom, bool realTime = false) {
        // Controllers count even without keyboard focus, which the windowless driver never gives.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        std::string error;
        m_device = SdlDevice::create(profile, setupIn(m_folder.path()), SdlDevice::View{zoom, false, realTime}, nullptr, error);
        ASSERT_NE(m_device, nullptr) << error;
        ASSERT_TRUE(m_device->createWindow("Vornel", recordingClient));
    }

    void show() {
        m_device->showWindow();
        settle();
    }

    // Pushes an event of the type, filled in by fill, into SDL's queue.
    template <typename Fill>
    static void push(uint32_t type, Fill fill) {
        SDL_Event event;
        SDL_zero(event);
        event.type = type;
        fill(event);
        SDL_PushEvent(&event);
    }
    static void push(uint32_t type) {
        push(type, [](SDL_Event&) {});
    }

    // Handles what SDL has queued so far, and answers the key, character, pen and activation
    // messages it gave. A close request pushed behind them marks the end: the window's Destroy
    // message comes from nothing else here.
    std::vector<Seen> settle() {
        SDL_JoystickUpdate();  // a virtual controller's changes become events here
        SDL_Event marker;
        SDL_zero(marker);
        marker.type = SDL_QUIT;
        SDL_PushEvent(&marker);
        std::vector<Seen> seen;
        WindowMessage message;
        while (m_device->getMessage(message) && message.type != MessageType::Destroy) {
            if (isInput(message.type)) {
                seen.push_back({message.type, message.wParam, message.lParam});
            }
        }
        return seen;
    }

    // The windowless driver keeps virtual time, and the test's thread is the window's: device
    // time moves on while it sleeps.
    void passDeviceTime(uint32_t milliseconds) { m_device->deviceClock().sleep(milliseconds); }

    SdlDevice& device() { return *m_device; }
    void close() { m_device.reset(); }

private:
    static bool isInput(MessageType type) {
        switch (type) {
            case MessageType::KeyDown:
            case MessageType::KeyUp:
            case MessageType::Char:
            case MessageType::PenDown:
            case MessageType::PenMove:
            case MessageType::PenUp:
            case MessageType::Activate: return true;
            default: return false;
        }
    }

    TemporaryFolder m_folder{"sdl-window"};
    std::unique_ptr<SdlDevice> m_device;
};

}  // namespace vornel::testing_support
