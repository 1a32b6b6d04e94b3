// The web backend.
#include "backends/web/WebDevice.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <optional>

#include "core/FrameStats.h"
#include "device/ControllerButton.h"
#include "device/DesktopKeys.h"
#include "device/DesktopText.h"

namespace vornel {
namespace {

// How long the message loop yields to the page while nothing is queued, real milliseconds.
constexpr int32_t kIdleMs = 10;

WebDevice* g_current = nullptr;

// The on-screen keys count as one more controller, after the page's gamepads.
constexpr int32_t kScreenKeys = 1000;

// One key of the page as a desktop key; a key without a place (some on-screen keyboards give
// none) is told apart by its meaning.
DesktopKeyEvent keyOfPage(std::string_view code, std::string_view key, int32_t modifiers, bool repeat) {
    DesktopKeyEvent event;
    uint32_t hash = 2166136261u;  // FNV-1a of the name
    for (const char c : code.empty() ? key : code) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    event.physical = hash;
    event.place = DesktopKeys::ofBrowserCode(code);
    event.meaning = DesktopKeys::ofBrowserKey(key);
    event.control = (modifiers & WebDevice::kControl) != 0;
    event.alt = (modifiers & WebDevice::kAlt) != 0;
    event.altGraph = (modifiers & WebDevice::kAltGraph) != 0;
    event.repeat = repeat;
    return event;
}

// The page performs the emulator's keys it has (turning and full screen); zooming and
// screenshots are the browser's own keys there.
bool pageHasAction(DesktopKeys::EmulatorAction action) {
    return action == DesktopKeys::EmulatorAction::Rotate || action == DesktopKeys::EmulatorAction::ToggleFullscreen;
}

// A CSS position on the canvas as the display's pixel, kept on the display.
int32_t displayPixelOf(double position, double size, int32_t pixels) {
    const double pixel = size > 0 ? std::floor(position * pixels / size) : 0;
    return std::clamp(static_cast<int32_t>(std::clamp(pixel, -1.0, static_cast<double>(pixels))), 0, pixels - 1);
}

}  // namespace

WebDevice::WebDevice(const DeviceProfile& profile, Setup setup)
    : EmulatedDevice(profile, std::move(setup)),
      m_clock(deviceClock(), speed(), [this] { return pump(); }, [this](bool pageGetsTime) { showPainted(pageGetsTime); }),
      m_waveOutput(deviceClock()),
      m_keyboardKeys(profile.lettersAsKeypad),
      m_pen(profile.pen) {
    g_current = this;
}

WebDevice::~WebDevice() {
    stopThreads();
    g_current = nullptr;
}

WebDevice* WebDevice::current() {
    return g_current;
}

bool WebDevice::adoptGameBody(std::function<void()>& body) {
    m_gameBody = std::move(body);
    return true;
}

// The game's body runs here, once, the first time the loop waits: until it returns, its own
// waits serve the messages.
void WebDevice::waitForInput() {
    if (m_gameBody) {
        std::function<void()> body = std::move(m_gameBody);
        m_gameBody = nullptr;
        body();
        return;
    }
    m_waveOutput.completeDue();
    postRepeats();
    emscripten_sleep(kIdleMs);
}

bool WebDevice::pump() {
    if (m_pumping) {
        return false;
    }
    m_pumping = true;
    m_waveOutput.completeDue();
    postRepeats();
    bool painted = false;
    WindowMessage message;
    while (takeMessage(message)) {
        painted = painted || message.type == MessageType::Paint;
        dispatchMessage(message);
    }
    m_pumping = false;
    return painted;
}

bool WebDevice::openWindow(const std::string& title) {
    EM_ASM({ document.title = UTF8ToString($0); }, title.c_str());
    displayTurned();
    return true;
}

// Every paint is shown, but the canvas takes them all at once when the game next lets the page
// have its thread: the game paints each of its rectangles apart, several a frame, and a
// phone's battery pays for every upload and every wake-up. A game that waits (a frame's pace,
// a menu waiting for a key) uploads before it waits, at the end of its frame, and the browser
// shows the canvas at its next frame. One that yields for no time (a timedemo, a seek), or
// again within a display's frame of the last upload (the steps of a wipe), asks for the page's
// animation frame instead, so that the canvas takes about one upload a displayed frame.
// A paint alone shows nothing yet: showPainted does, when the game yields.
void WebDevice::presentDisplay() {}

void WebDevice::showPainted(bool pageGetsTime) {
    constexpr double kDisplayFrameMs = 1000.0 / 60;
    if (m_frameAsked || !m_upload.pending()) {
        return;
    }
    if (pageGetsTime && emscripten_get_now() - m_lastUploadMs >= kDisplayFrameMs) {
        uploadPainted();
    } else {
        m_frameAsked = true;
        EM_ASM({ Module.vornelFrameWanted(); });
    }
}

Rect WebDevice::beginPaint() {
    const Rect paint = EmulatedDevice::beginPaint();
    const Rect window = windowRect();
    m_upload.changed(paint.offset(window.left, window.top));
    return paint;
}

void WebDevice::invalidateRect(const Rect& rect) {
    EmulatedDevice::invalidateRect(rect);
    if (m_paintsAtOnce) {
        pump();
    }
}

void WebDevice::pageFrame() {
    m_frameAsked = false;
    uploadPainted();
}

// The upload tells FrameStats::displayShown, where the input's latency ends (with nothing to
// upload, display memory is on the canvas already).
void WebDevice::uploadPainted() {
    const CanvasUpload::Part part = m_upload.take(display(), displayOrientation());
    if (part.rgba != nullptr) {
        EM_ASM({ Module.vornelUpload($0, $1, $2, $3, $4); }, part.rgba, part.area.left, part.area.top,
               part.area.width(), part.area.height());
        m_lastUploadMs = emscripten_get_now();
    }
    FrameStats::ofThisProcess().displayShown();
}

// The canvas takes the new shape, which clears it: all of it goes again after the next paint.
void WebDevice::displayTurned() {
    const int32_t orientation = displayOrientation();
    const int32_t width = display().logicalWidth(orientation);
    const int32_t height = display().logicalHeight(orientation);
    EM_ASM({ Module.vornelResize($0, $1); }, width, height);
    m_upload.changed(Rect{0, 0, width, height});
}

// Emulator keys are taken first (their repeats too, or Ctrl+R would reload the page); the
// rest reach the game as the handheld's key codes, and what a key types as its character.
int32_t WebDevice::pageKeyDown(std::string_view code, std::string_view key, int32_t modifiers, bool repeat) {
    const int64_t received = InputLatency::now();
    const DesktopKeyEvent event = keyOfPage(code, key, modifiers, repeat);
    if (ReplayControls* controls = replayControls()) {
        const std::optional<ReplayControls::Command> command = ReplayControls::commandOf(event.meaning);
        if (command && !event.control && !event.alt) {
            if (!repeat || *command != ReplayControls::Command::kPauseOrResume) {
                controls->command(*command);
            }
            return kTaken;
        }
    }
    const KeyboardKeys::Press press = m_keyboardKeys.press(event);
    int32_t answer = 0;
    if (m_keyboardKeys.lastPressWasEmulatorKey()) {
        if (press.action == DesktopKeys::EmulatorAction::Rotate) {
            runOnWindowThread([this] { rotate(); });
        }
        const DesktopKeys::EmulatorAction action = DesktopKeys::emulatorActionOf(event);
        answer = pageHasAction(action) ? kTaken : 0;
        if (press.action == DesktopKeys::EmulatorAction::ToggleFullscreen) {
            answer |= kToggleFullScreen;
        }
        return answer;
    }
    if (press.virtualKey != 0) {
        postInput(messageOf(MessageType::KeyDown, static_cast<uint32_t>(press.virtualKey), 0), received);
        answer = kTaken;
    }
    const bool typing = !(event.control && !event.alt) && (modifiers & kMeta) == 0;
    const std::string typed = DesktopText::latin1Of(key);
    if (typing && key.size() <= 2 && typed.size() == 1 && static_cast<uint8_t>(typed[0]) >= 32) {
        postInput(messageOf(MessageType::Char, static_cast<uint8_t>(typed[0]), 0), received);
    }
    return answer;
}

int32_t WebDevice::pageKeyUp(std::string_view code, std::string_view key, int32_t modifiers) {
    const int64_t received = InputLatency::now();
    const int32_t virtualKey = m_keyboardKeys.releaseHeld(keyOfPage(code, key, modifiers, false));
    if (virtualKey == 0) {
        return 0;
    }
    postInput(messageOf(MessageType::KeyUp, static_cast<uint32_t>(virtualKey), 0), received);
    return kTaken;
}

// A page that loses the focus lets go of every key it held.
void WebDevice::pageBlur() {
    for (const int32_t virtualKey : m_keyboardKeys.releaseAll()) {
        postInput(messageOf(MessageType::KeyUp, static_cast<uint32_t>(virtualKey), 0));
    }
}

void WebDevice::pageScreenKey(std::string_view name, bool down) {
    const int64_t received = InputLatency::now();
    const DesktopKey key = DesktopKeys::ofHandheldKey(name);
    DesktopKeyEvent event;
    event.place = key;
    event.meaning = key;
    const int32_t virtualKey = DesktopKeys::virtualKeyOf(event, false);
    if (virtualKey == 0) {
        return;
    }
    const auto button = static_cast<int32_t>(key);
    if (!down) {
        postKeyChanges(m_controllerKeys.release(kScreenKeys, button), received);
        return;
    }
    postKeyChanges(m_controllerKeys.press(kScreenKeys, button, virtualKey, deviceClock().ticks()), received);
    if (name.size() == 1) {
        postInput(messageOf(MessageType::Char, static_cast<uint8_t>(name[0]), 0), received);  // the keypad types it too
    }
}

void WebDevice::pageGamepad(int32_t pad, uint32_t buttons, double stickX, double stickY) {
    const uint32_t now = deviceClock().ticks();
    const uint32_t before = m_gamepadButtons[pad];
    m_gamepadButtons[pad] = buttons;
    for (int32_t index = 0; index < 32; ++index) {
        const uint32_t bit = 1u << index;
        if ((before & bit) == (buttons & bit)) {
            continue;
        }
        const int32_t virtualKey = ControllerButton::virtualKeyOf(ControllerButton::ofStandardGamepad(index));
        if ((buttons & bit) == 0) {
            postKeyChanges(m_controllerKeys.release(pad, index));
        } else if (virtualKey != 0) {
            postKeyChanges(m_controllerKeys.press(pad, index, virtualKey, now));
        }
    }
    const auto axisValue = [](double position) {
        return static_cast<int32_t>(std::lround(std::clamp(position, -1.0, 1.0) * 32767));
    };
    postKeyChanges(m_stickKeys.move(pad, StickKeys::kLeftX, axisValue(stickX), now));
    postKeyChanges(m_stickKeys.move(pad, StickKeys::kLeftY, axisValue(stickY), now));
}

// A gamepad unplugged with a button down would leave its key held in the game.
void WebDevice::pageGamepadGone(int32_t pad) {
    postKeyChanges(m_controllerKeys.releaseController(pad));
    m_gamepadButtons.erase(pad);
}

// A replay's viewer lets none of the page's input reach the game: the playback brings its own.
void WebDevice::postInput(WindowMessage message, int64_t receivedUs) {
    if (replayControls() == nullptr) {
        message.receivedUs = receivedUs;
        postMessage(message);
    }
}

void WebDevice::postKeyChanges(const ControllerKeys::KeyChanges& changes, int64_t receivedUs) {
    for (const ControllerKeys::KeyChange& change : changes) {
        postInput(messageOf(change.down ? MessageType::KeyDown : MessageType::KeyUp,
                              static_cast<uint32_t>(change.virtualKey), 0), receivedUs);
    }
}

void WebDevice::postRepeats() {
    postKeyChanges(m_controllerKeys.repeatsDue(deviceClock().ticks()));
}

// The first finger (or the left button) on the canvas is the pen, on handhelds that have one;
// the page holds on to that pointer until it goes up.
int32_t WebDevice::pagePointer(PointerKind kind, int32_t pointer, int32_t button, double x, double y, double width,
                               double height) {
    const int64_t received = InputLatency::now();
    const int32_t orientation = displayOrientation();
    const int32_t penX = displayPixelOf(x, width, display().logicalWidth(orientation));
    const int32_t penY = displayPixelOf(y, height, display().logicalHeight(orientation));
    std::optional<WindowMessage> message;
    if (kind == PointerKind::kDown) {
        if (m_penPointer.has_value() || button != 0) {
            return 0;
        }
        m_penPointer = pointer;
        message = m_pen.down(penX, penY);
    } else if (m_penPointer != pointer) {
        return 0;
    } else if (kind == PointerKind::kMove) {
        message = m_pen.move(penX, penY);
    } else {
        message = m_pen.up(penX, penY);
        m_penPointer.reset();
    }
    if (message) {
        postInput(*message, received);
    }
    return kTaken;
}

// A page in the background lets go of the held buttons and on-screen keys, as a window losing
// the focus does.
void WebDevice::pageVisible(bool visible) {
    if (!visible) {
        postKeyChanges(m_controllerKeys.releaseAll());
        m_gamepadButtons.clear();
    }
    postMessage(messageOf(MessageType::Activate, visible ? 1 : 0, 0));
}

}  // namespace vornel

// The page's way in: plain functions it calls with its events.
extern "C" {

EMSCRIPTEN_KEEPALIVE int vornel_page_key_down(const char* code, const char* key, int modifiers, int repeat) {
    vornel::WebDevice* device = vornel::WebDevice::current();
    return device != nullptr ? device->pageKeyDown(code, key, modifiers, repeat != 0) : 0;
}

EMSCRIPTEN_KEEPALIVE int vornel_page_key_up(const char* code, const char* key, int modifiers) {
    vornel::WebDevice* device = vornel::WebDevice::current();
    return device != nullptr ? device->pageKeyUp(code, key, modifiers) : 0;
}

EMSCRIPTEN_KEEPALIVE void vornel_page_blur() {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageBlur();
    }
}

EMSCRIPTEN_KEEPALIVE int vornel_page_pointer(int kind, int pointer, int button, double x, double y, double width,
                                             double height) {
    vornel::WebDevice* device = vornel::WebDevice::current();
    if (device == nullptr || kind < 0 || kind > 2) {
        return 0;
    }
    return device->pagePointer(static_cast<vornel::WebDevice::PointerKind>(kind), pointer, button, x, y, width,
                               height);
}

EMSCRIPTEN_KEEPALIVE void vornel_page_screen_key(const char* name, int down) {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageScreenKey(name, down != 0);
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_page_gamepad(int pad, unsigned buttons, double stickX, double stickY) {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageGamepad(pad, buttons, stickX, stickY);
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_page_gamepad_gone(int pad) {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageGamepadGone(pad);
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_page_visible(int visible) {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageVisible(visible != 0);
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_page_frame() {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageFrame();
    }
}

// The page's Turn button.
EMSCRIPTEN_KEEPALIVE void vornel_page_rotate() {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->runOnWindowThread([device] { device->rotate(); });
    }
}

}  // extern "C"
