// An input script's input as a person's input reaches the SDL window: keys of a US keyboard,
// text input, the left mouse button at the window pixels under the handheld's pixels, focus
// changes, and the buttons of a virtual game controller that is plugged in when a script first
// presses one. The events go into SDL's own queue, on the window's thread, so they travel the
// whole way from the event loop to the window procedure.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "backends/sdl/ScreenPlacement.h"
#include "backends/sdl/SdlDevice.h"
#include "core/Rect.h"
#include "device/DeviceInput.h"
#include "harness/ScriptInputSink.h"

namespace vornel {

class SdlScriptInput final : public ScriptInputSink {
public:
    // The device must outlive this; destroyed before SDL shuts down (it unplugs its controller).
    explicit SdlScriptInput(SdlDevice& device) : m_device(device) {}
    SdlScriptInput(const SdlScriptInput&) = delete;
    SdlScriptInput& operator=(const SdlScriptInput&) = delete;
    ~SdlScriptInput() override { unplugController(); }

    // Queues the input's events on the window's thread; what no event gives (see push) is
    // posted as the window's messages.
    void deliver(const DeviceInput& input) override;

    // Where the window shows the handheld: the screen's placement in the window (in device
    // pixels), the handheld window's rectangle on that screen, and the window's size in points,
    // which mouse events count in, and in device pixels (larger on a high-DPI display).
    struct View {
        uint32_t windowId = 0;
        ScreenPlacement placement;
        Rect window;
        SDL_Point points{0, 0};
        SDL_Point pixels{0, 0};
    };

    // Pushes the input's events; window thread. false when it has none: a key code that no desktop key gives,
    // or a button while no controller could be plugged in (the caller then posts the input as
    // the window's messages).
    bool push(const DeviceInput& input, const View& view);
    // Pulls the virtual controller out again; before SDL shuts down.
    void unplugController();

    // The key of a US keyboard that gives the virtual-key code, with no modifier held; its
    // scancode is SDL_SCANCODE_UNKNOWN when no key gives it.
    static SDL_Keysym keysymOf(int32_t virtualKey);

private:
    View viewOfWindow();
    bool pushKey(bool down, int32_t virtualKey, uint32_t windowId);
    void pushText(int32_t character, uint32_t windowId);
    void pushPen(DeviceInput::Kind kind, int32_t x, int32_t y, const View& view);
    void pushFocus(bool gained, uint32_t windowId);
    bool setButton(int32_t button, bool down);
    bool plugInController();

    SdlDevice& m_device;
    SDL_GameController* m_controller = nullptr;
    bool m_controllerFailed = false;  // reported once; later buttons go as keys
};

}  // namespace vornel
