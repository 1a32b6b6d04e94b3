// Script input as SDL events.
#include "harness/SdlScriptInput.h"

#include <cstdio>
#include <utility>

#include "backends/sdl/ControllerTranslation.h"
#include "backends/sdl/SdlKeys.h"
#include "device/DesktopKeys.h"

namespace vornel {
namespace {

// Latin-1 character code as UTF-8, as SDL reports typed text.
void encodeUtf8(int32_t character, char (&text)[SDL_TEXTINPUTEVENT_TEXT_SIZE]) {
    const auto code = static_cast<unsigned>(character) & 0xFFu;
    if (code < 0x80) {
        text[0] = static_cast<char>(code);
        text[1] = '\0';
        return;
    }
    text[0] = static_cast<char>(0xC0 | code >> 6);
    text[1] = static_cast<char>(0x80 | (code & 0x3F));
    text[2] = '\0';
}

// The middle of the window pixels that show the handheld's pixel, so that the way back
// lands on that pixel at any zoom.
int32_t windowPixelOf(int32_t screenPixel, int32_t edge, int32_t scale) {
    return edge + screenPixel * scale + scale / 2;
}

}  // namespace

// The desktop key that gives the virtual key, as SDL names it: letters give their lower-case
// character and digits theirs, as on a US keyboard without shift.
SDL_Keysym SdlScriptInput::keysymOf(int32_t virtualKey) {
    return SdlKeys::keysymOf(DesktopKeys::ofVirtualKey(virtualKey));
}

void SdlScriptInput::deliver(const DeviceInput& input) {
    m_device.runOnWindowThread([this, input] {
        if (!push(input, viewOfWindow())) {
            m_device.deliverInput(input);
        }
    });
}

SdlScriptInput::View SdlScriptInput::viewOfWindow() {
    View view{SDL_GetWindowID(m_device.window()), m_device.placement(), m_device.windowRect()};
    SDL_GetWindowSize(m_device.window(), &view.points.x, &view.points.y);
    view.pixels = m_device.presenter()->outputSize();
    return view;
}

bool SdlScriptInput::push(const DeviceInput& input, const View& view) {
    using Kind = DeviceInput::Kind;
    switch (input.kind) {
        case Kind::KeyDown:
        case Kind::KeyUp:
            return pushKey(input.kind == Kind::KeyDown, input.value, view.windowId);
        case Kind::Char:
            pushText(input.value, view.windowId);
            return true;
        case Kind::PenDown:
        case Kind::PenMove:
        case Kind::PenUp:
            pushPen(input.kind, input.x, input.y, view);
            return true;
        case Kind::Activate:
            pushFocus(input.value != 0, view.windowId);
            return true;
        case Kind::ButtonDown:
        case Kind::ButtonUp:
            return setButton(input.value, input.kind == Kind::ButtonDown);
    }
    return false;
}

bool SdlScriptInput::pushKey(bool down, int32_t virtualKey, uint32_t windowId) {
    const SDL_Keysym key = keysymOf(virtualKey);
    if (key.scancode == SDL_SCANCODE_UNKNOWN) {
        return false;
    }
    SDL_Event event;
    SDL_zero(event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.timestamp = SDL_GetTicks();
    event.key.windowID = windowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym = key;
    SDL_PushEvent(&event);
    return true;
}

void SdlScriptInput::pushText(int32_t character, uint32_t windowId) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_TEXTINPUT;
    event.text.timestamp = SDL_GetTicks();
    event.text.windowID = windowId;
    encodeUtf8(character, event.text.text);
    SDL_PushEvent(&event);
}

// The pen is the left mouse button: down, moved with the button held, up. The placement is in
// device pixels and mouse events count in points, so the pixel is scaled back by the window's
// points per pixel (the same proportion the window takes the other way).
void SdlScriptInput::pushPen(DeviceInput::Kind kind, int32_t x, int32_t y, const View& view) {
    const ScreenPlacement& where = view.placement;
    const int32_t windowX = ScreenPlacement::pixelsOf(windowPixelOf(view.window.left + x, where.left, where.scale),
                                                      view.points.x, view.pixels.x);
    const int32_t windowY = ScreenPlacement::pixelsOf(windowPixelOf(view.window.top + y, where.top, where.scale),
                                                      view.points.y, view.pixels.y);
    SDL_Event event;
    SDL_zero(event);
    if (kind == DeviceInput::Kind::PenMove) {
        event.type = SDL_MOUSEMOTION;
        event.motion.timestamp = SDL_GetTicks();
        event.motion.windowID = view.windowId;
        event.motion.state = SDL_BUTTON_LMASK;
        event.motion.x = windowX;
        event.motion.y = windowY;
    } else {
        const bool down = kind == DeviceInput::Kind::PenDown;
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.timestamp = SDL_GetTicks();
        event.button.windowID = view.windowId;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = windowX;
        event.button.y = windowY;
    }
    SDL_PushEvent(&event);
}

void SdlScriptInput::pushFocus(bool gained, uint32_t windowId) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.timestamp = SDL_GetTicks();
    event.window.windowID = windowId;
    event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&event);
}

// SDL turns the virtual controller's new state into button events at the update.
bool SdlScriptInput::setButton(int32_t button, bool down) {
    if (!plugInController()) {
        return false;
    }
    SDL_Joystick* joystick = SDL_GameControllerGetJoystick(m_controller);
    SDL_JoystickSetVirtualButton(joystick, ControllerTranslation::sdlButtonOf(button), down ? SDL_PRESSED : SDL_RELEASED);
    SDL_JoystickUpdate();
    return true;
}

// Opened here as well as by the window, so that a button pressed before the window has
// handled the controller's arrival still gives its event. A window without the keyboard focus
// (a windowless video driver never has it) still takes the script's buttons.
bool SdlScriptInput::plugInController() {
    if (m_controller != nullptr || m_controllerFailed) {
        return m_controller != nullptr;
    }
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_VirtualJoystickDesc pad;
    SDL_zero(pad);
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    pad.name = "Vornel script controller";
    const int index = SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0 ? SDL_JoystickAttachVirtualEx(&pad) : -1;
    m_controller = index >= 0 ? SDL_GameControllerOpen(index) : nullptr;
    if (m_controller == nullptr) {
        std::fprintf(stderr, "vornel: script buttons go as keys: no virtual game controller: %s\n", SDL_GetError());
        if (index >= 0) {
            SDL_JoystickDetachVirtual(index);
        }
        m_controllerFailed = true;
        return false;
    }
    return true;
}

void SdlScriptInput::unplugController() {
    if (m_controller == nullptr) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(m_controller));
    SDL_GameControllerClose(m_controller);
    m_controller = nullptr;
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == id) {
            SDL_JoystickDetachVirtual(index);
            return;
        }
    }
}

}  // namespace vornel
