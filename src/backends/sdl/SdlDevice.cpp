// The SDL2 backend: window, event loop, presentation and emulator keys.
#include "backends/sdl/SdlDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>

#include "backends/sdl/ControllerTranslation.h"
#include "backends/sdl/WindowIcon.h"
#include "core/FrameStats.h"
#include "device/DesktopText.h"

namespace vornel {
namespace {

// Presenting every painted rectangle would cost a full scaled copy each; the display is
// shown at most this often, and the last paint of a burst is shown when the time is up, or
// as soon as the game's frame is drawn (presentIntervalStart).
constexpr uint32_t kPresentIntervalMs = 8;
// Without any event the loop still wakes this often, in milliseconds.
constexpr int32_t kLongestWaitMs = 100;
// A picture in a full screen or a window enlarged by hand may grow this much, in device
// pixels per pixel of the handheld.
constexpr int32_t kLargestScale = 64;

// SDL falls back to drivers that show nothing (offscreen, dummy) when no display can be
// reached; unless asked for by SDL_VIDEODRIVER, that counts as having no display.
bool isWindowlessDriver(const char* driver) {
    const std::string name = driver != nullptr ? driver : "";
    return name == "offscreen" || name == "dummy" || name == "evdev";
}

// A windowless driver chosen by SDL_VIDEODRIVER shows nothing to anyone: the device then keeps
// virtual time, as a headless one does.
bool windowlessDriverChosen() {
    const char* chosenDriver = std::getenv("SDL_VIDEODRIVER");
    return chosenDriver != nullptr && isWindowlessDriver(chosenDriver);
}

// On virtual time SDL's audio (whose threads keep real time) and its signal handlers (seen only
// when the event loop looks) are left out: the device plays sound as a headless one does and
// hears of signals through its message queue.
bool startSdl(bool virtualTime, std::string& error) {
    const char* chosenDriver = std::getenv("SDL_VIDEODRIVER");
    const bool driverChosen = chosenDriver != nullptr && chosenDriver[0] != '\0';
    if (virtualTime) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    }
    if (!driverChosen && std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        error = "cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set (--headless runs without one)";
        return false;
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = std::string("cannot open a display: ") + SDL_GetError();
        return false;
    }
    if (!driverChosen && isWindowlessDriver(SDL_GetCurrentVideoDriver())) {
        SDL_Quit();
        error = "cannot open a display: no X11 or Wayland display answers (--headless runs without one)";
        return false;
    }
    if (!virtualTime && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "vornel: no sound: %s\n", SDL_GetError());
    }
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "vornel: no game controllers: %s\n", SDL_GetError());
    }
    return true;
}

// SDL's own wait for events looks every millisecond on the drivers that have none of their own
// to wait for; on the windowless ones no event comes from outside the process either.
bool driverHasNoEvents() {
    const std::string name = SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "";
    return name == "offscreen" || name == "dummy";
}

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

std::string screenshotName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[64];
    std::strftime(name, sizeof name, "vornel-%Y%m%d-%H%M%S.png", &local);
    return name;
}

}  // namespace

std::unique_ptr<SdlDevice> SdlDevice::create(const DeviceProfile& profile, Setup setup, View view,
                                             AudioTap* recorder, std::string& error) {
    setup.virtualTime = !view.realTime && windowlessDriverChosen();
    if (!startSdl(setup.virtualTime, error)) {
        return nullptr;
    }
    return std::unique_ptr<SdlDevice>(new SdlDevice(profile, std::move(setup), view, recorder));
}

SdlDevice::SdlDevice(const DeviceProfile& profile, Setup setup, View view, AudioTap* recorder)
    : EmulatedDevice(profile, std::move(setup)),
      m_windowZoom(view.zoom, view.fullscreen, [this] { return pictureSize(); }),
      m_wakeEvent(SDL_RegisterEvents(1)),
      m_waitsOnClock(hasVirtualTime() || driverHasNoEvents()),
      m_pen(profile.pen),
      m_keyboardKeys(profile.lettersAsKeypad),
      m_waveOutput(deviceClock(), recorder) {
    if (hasVirtualTime()) {
        m_virtualAudio = std::make_unique<HeadlessWaveOutput>(deviceClock(), recorder);
        return;  // the event loop waits on the clock, which every post rings
    }
    // Messages from other threads wake the event loop; one wake-up event at a time is enough.
    queue().setWakeHandler([this] {
        if (!m_wakePending.exchange(true)) {
            SDL_Event event;
            SDL_zero(event);
            event.type = m_wakeEvent;
            SDL_PushEvent(&event);
        }
    });
    FrameStats::ofThisProcess().setFrameListener(this);  // before any game thread starts
}

SdlDevice::~SdlDevice() {
    FrameStats::ofThisProcess().removeFrameListener(this);
    stopThreads();
    m_waveOutput.close();
    if (m_virtualAudio) {
        m_virtualAudio->close();
    }
    m_controllers.closeAll();
    m_presenter.reset();
    if (m_window != nullptr) {
        SDL_DestroyWindow(m_window);
    }
    SDL_Quit();
}

// The window is sized in points; on a scaled desktop it draws in more device pixels than
// that (high-DPI), and the picture then takes whole device pixels per pixel of the handheld.
bool SdlDevice::openWindow(const std::string& title) {
    const uint32_t flags =
        SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE | m_windowZoom.openingFlags();
    const int32_t display = WindowZoom::displayUnderPointer();
    const SDL_Point size = m_windowZoom.openingSize();
    m_window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                                SDL_WINDOWPOS_CENTERED_DISPLAY(display), size.x, size.y, flags);
    if (m_window == nullptr) {
        std::fprintf(stderr, "vornel: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    m_presenter = std::make_unique<WindowPresenter>(m_window);
    if (!m_presenter->open()) {
        std::fprintf(stderr, "vornel: cannot draw in the window: %s\n", SDL_GetError());
        return false;
    }
    m_windowZoom.windowOpened(m_window);
    setIcon();
    return true;
}

// A game without its icon file still runs, with the desktop's default icon.
void SdlDevice::setIcon() {
    if (const WindowIcon::Surface icon = WindowIcon::load(folderOf(modulePath())); icon != nullptr) {
        SDL_SetWindowIcon(m_window, icon.get());
    }
}

void SdlDevice::windowShown() {
    SDL_ShowWindow(m_window);
    SDL_StartTextInput();
    present();
}

uint32_t SdlDevice::ticks() {
    return hasVirtualTime() ? deviceClock().ticks() : SDL_GetTicks();
}

// On virtual time, and on a driver without events, the loop waits on the device's clock, which
// the message queue's posts ring, so that a message is taken the moment it is posted; SDL's
// events come only from the window's own thread then (script input is pushed there).
bool SdlDevice::waitForEvent(SDL_Event& event) {
    if (!m_waitsOnClock) {
        return SDL_WaitEventTimeout(&event, nextWaitMs()) != 0;
    }
    if (SDL_PollEvent(&event) != 0) {
        return true;
    }
    Clock& clock = deviceClock();
    clock.waitForWake(Clock::Role::kWindow, clock.microseconds() + uint64_t(nextWaitMs()) * 1000);
    return SDL_PollEvent(&event) != 0;
}

void SdlDevice::waitForInput() {
    presentIfDue();
    SDL_Event event;
    const bool woken = waitForEvent(event);
    // A repeat that fell due while waiting comes before what woke the wait.
    postKeyChanges(m_controllerKeys.repeatsDue(ticks()));
    if (woken) {
        handleEvent(event);
        while (SDL_PollEvent(&event) != 0) {
            handleEvent(event);
        }
    }
    presentIfDue();
}

int32_t SdlDevice::nextWaitMs() {
    int32_t timeout = kLongestWaitMs;
    if (m_presentPending) {
        const uint32_t since = ticks() - presentIntervalStart();
        timeout = static_cast<int32_t>(kPresentIntervalMs - std::min(since, kPresentIntervalMs));
    }
    if (const int32_t repeatDue = m_controllerKeys.msUntilRepeat(ticks()); repeatDue >= 0) {
        timeout = std::min(timeout, repeatDue);
    }
    return timeout;
}

// The messages an event gives carry the moment the loop took it, for the input's latency.
void SdlDevice::handleEvent(const SDL_Event& event) {
    if (event.type == m_wakeEvent) {
        m_wakePending.store(false);
        return;
    }
    m_eventReceivedUs = InputLatency::now();
    translate(event);
    m_eventReceivedUs = 0;
}

void SdlDevice::translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:  // the window's close button, or SIGINT/SIGTERM
            post(MessageType::Destroy, 0, 0);
            break;
        case SDL_WINDOWEVENT:
            handleWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            handleKey(event.key);
            break;
        case SDL_TEXTINPUT:
            handleText(event.text.text);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            handleMouseButton(event.button);
            break;
        case SDL_MOUSEMOTION:
            handleMouseMotion(event.motion);
            break;
        case SDL_CONTROLLERDEVICEADDED:  // also sent for each controller present at start
            m_controllers.open(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            // A controller unplugged with a button down would leave its key held in the game.
            postKeyChanges(m_controllerKeys.releaseController(event.cdevice.which));
            m_controllers.close(event.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            handleControllerButton(event.cbutton);
            break;
        case SDL_CONTROLLERAXISMOTION:
            handleControllerAxis(event.caxis);
            break;
        case SDL_AUDIODEVICEREMOVED:
            if (event.adevice.iscapture == 0) {
                m_waveOutput.deviceRemoved(event.adevice.which);
            }
            break;
        default:
            break;
    }
}

void SdlDevice::handleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            m_focused = true;
            m_waveOutput.setForeground(true);
            post(MessageType::Activate, 1, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // SDL lets the keyboard's keys go before it reports the lost focus; the
            // controllers' buttons go the same way.
            m_focused = false;
            m_waveOutput.setForeground(false);
            postKeyChanges(m_controllerKeys.releaseAll());
            post(MessageType::Activate, 0, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            present();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:  // follows every resize, by hand or by the program
            m_windowZoom.windowResized();
            present();
            break;
        default:
            break;
    }
}

// Emulator keys are taken first; the rest reach the game as the handheld's key codes,
// repeats included, as the handheld's keyboard sent them.
void SdlDevice::handleKey(const SDL_KeyboardEvent& event) {
    if (replayControls() != nullptr) {
        handleViewerKey(event);
        return;
    }
    if (event.type == SDL_KEYUP) {
        if (const int32_t code = m_keyboardKeys.release(SdlKeys::eventOf(event.keysym, false)); code != 0) {
            post(MessageType::KeyUp, static_cast<uint32_t>(code), 0);
        }
        return;
    }
    const KeyboardKeys::Press press = m_keyboardKeys.press(SdlKeys::eventOf(event.keysym, event.repeat != 0));
    perform(press.action);
    if (press.virtualKey != 0) {
        post(MessageType::KeyDown, static_cast<uint32_t>(press.virtualKey), 0);
    }
}

// A replay's viewer keeps the emulator's keys; the game hears none of the live ones.
void SdlDevice::handleViewerKey(const SDL_KeyboardEvent& event) {
    const DesktopKeyEvent key = SdlKeys::eventOf(event.keysym, event.repeat != 0);
    if (event.type == SDL_KEYUP) {
        m_keyboardKeys.release(key);
        return;
    }
    const std::optional<ReplayControls::Command> command = ReplayControls::commandOf(key.meaning);
    if (command && !key.control && !key.alt) {
        if (!key.repeat || *command != ReplayControls::Command::kPauseOrResume) {
            replayControls()->command(*command);
            showReplayStatus();
        }
        return;
    }
    perform(m_keyboardKeys.press(key).action);
}

void SdlDevice::showReplayStatus() {
    const std::string shown = title() + " - " + replayControls()->status();
    if (shown != m_shownTitle && m_window != nullptr) {
        SDL_SetWindowTitle(m_window, shown.c_str());
        m_shownTitle = shown;
    }
}

void SdlDevice::handleText(const char* utf8) {
    if (replayControls() != nullptr) {
        return;
    }
    if (m_keyboardKeys.lastPressWasEmulatorKey()) {
        return;  // typed along with an emulator key, as Ctrl+plus types a '+'
    }
    for (const char c : DesktopText::latin1Of(utf8)) {
        post(MessageType::Char, static_cast<uint8_t>(c), 0);
    }
}

// The left button is the pen, on handhelds that have one.
void SdlDevice::handleMouseButton(const SDL_MouseButtonEvent& event) {
    if (event.button != SDL_BUTTON_LEFT || replayControls() != nullptr) {
        return;
    }
    const SDL_Point at = penPoint(event.x, event.y);
    const bool pressed = event.type == SDL_MOUSEBUTTONDOWN;
    if (const std::optional<WindowMessage> message = pressed ? m_pen.down(at.x, at.y) : m_pen.up(at.x, at.y)) {
        SDL_CaptureMouse(pressed ? SDL_TRUE : SDL_FALSE);  // a drag that leaves the window stays at its edge
        post(*message);
    }
}

void SdlDevice::handleMouseMotion(const SDL_MouseMotionEvent& event) {
    if ((event.state & SDL_BUTTON_LMASK) == 0 || replayControls() != nullptr) {
        return;
    }
    const SDL_Point at = penPoint(event.x, event.y);
    if (const std::optional<WindowMessage> message = m_pen.move(at.x, at.y)) {
        post(*message);
    }
}

// Buttons reach the game as the keys they stand for, as the keyboard's do: only while the
// window has the focus, and let go of when it loses it.
void SdlDevice::handleControllerButton(const SDL_ControllerButtonEvent& event) {
    if (event.type == SDL_CONTROLLERBUTTONUP) {
        postKeyChanges(m_controllerKeys.release(event.which, event.button));
        return;
    }
    const int32_t code = ControllerTranslation::virtualKeyOf(static_cast<SDL_GameControllerButton>(event.button));
    if (code != 0 && m_focused) {
        postKeyChanges(m_controllerKeys.press(event.which, event.button, code, ticks()));
    }
}

// The left stick steers as the d-pad does, under the same rule of focus.
void SdlDevice::handleControllerAxis(const SDL_ControllerAxisEvent& event) {
    if (m_focused) {
        const auto axis = static_cast<SDL_GameControllerAxis>(event.axis);
        postKeyChanges(m_stickKeys.move(event.which, axis, event.value, ticks()));
    }
}

void SdlDevice::postKeyChanges(const ControllerKeys::KeyChanges& changes) {
    if (replayControls() != nullptr) {
        return;  // a playback brings its own keys
    }
    for (const ControllerKeys::KeyChange& change : changes) {
        post(change.down ? MessageType::KeyDown : MessageType::KeyUp, static_cast<uint32_t>(change.virtualKey), 0);
    }
}

void SdlDevice::perform(DesktopKeys::EmulatorAction action) {
    using Action = DesktopKeys::EmulatorAction;
    switch (action) {
        case Action::Rotate: rotate(); break;
        case Action::ToggleFullscreen: setFullscreen(!m_windowZoom.isFullscreen()); break;
        case Action::Screenshot: saveScreenshot(); break;
        case Action::ZoomIn: setZoom(m_windowZoom.zoom() + 1); break;
        case Action::ZoomOut:
            m_windowZoom.zoomOut();
            present();
            break;
        case Action::None: break;
    }
}

void SdlDevice::post(MessageType type, uint32_t wParam, uint32_t lParam) {
    post(messageOf(type, wParam, lParam));
}

void SdlDevice::post(WindowMessage message) {
    message.receivedUs = m_eventReceivedUs;
    postMessage(message);
}

// SDL gives the mouse in window points; the picture is placed in device pixels.
SDL_Point SdlDevice::penPoint(int32_t windowX, int32_t windowY) {
    const Rect window = windowRect();
    const ScreenPlacement where = placement();
    SDL_Point points{0, 0};
    SDL_GetWindowSize(m_window, &points.x, &points.y);
    const SDL_Point pixels = m_presenter->outputSize();
    const int32_t orientation = displayOrientation();
    const int32_t screenX = where.pictureX(ScreenPlacement::pixelsOf(windowX, pixels.x, points.x),
                                           display().logicalWidth(orientation));
    const int32_t screenY = where.pictureY(ScreenPlacement::pixelsOf(windowY, pixels.y, points.y),
                                           display().logicalHeight(orientation));
    const int32_t x = std::clamp(screenX - window.left, 0, std::max(window.right - window.left - 1, 0));
    const int32_t y = std::clamp(screenY - window.top, 0, std::max(window.bottom - window.top - 1, 0));
    return {x, y};
}

ScreenPlacement SdlDevice::placement() {
    if (m_presenter == nullptr) {
        return {};
    }
    const SDL_Point output = m_presenter->outputSize();
    const int32_t orientation = displayOrientation();
    return ScreenPlacement::fit(display().logicalWidth(orientation), display().logicalHeight(orientation), output.x,
                                output.y, kLargestScale);
}

void SdlDevice::setZoom(int32_t zoom) {
    m_windowZoom.setZoom(zoom);
    present();
}

void SdlDevice::setFullscreen(bool fullscreen) {
    m_windowZoom.setFullscreen(fullscreen);
    present();
}

SDL_Point SdlDevice::pictureSize() {
    const int32_t orientation = displayOrientation();
    return {display().logicalWidth(orientation), display().logicalHeight(orientation)};
}

void SdlDevice::saveScreenshot() {
    const std::string name = screenshotName();
    std::string error;
    if (!displayImage().writePng(name, error)) {
        std::fprintf(stderr, "vornel: cannot write %s: %s\n", name.c_str(), error.c_str());
        return;
    }
    std::error_code failure;
    const std::string where = std::filesystem::absolute(name, failure).string();
    std::printf("vornel: screenshot written to %s\n", where.c_str());
    std::fflush(stdout);
}

void SdlDevice::presentDisplay() {
    if (!m_presentPending.exchange(true)) {
        m_pendingSince = ticks();
    }
    presentIfDue();
}

void SdlDevice::displayTurned() {
    m_windowZoom.displayTurned();
    present();
}

void SdlDevice::raiseWindow() {
    SDL_RestoreWindow(m_window);
    SDL_RaiseWindow(m_window);
}

void SdlDevice::presentIfDue() {
    const bool due = m_frameDrawn.load() || ticks() - presentIntervalStart() >= kPresentIntervalMs;
    if (m_presentPending.load() && due) {
        present();
    }
}

// In real time the device hears of the game's frames: a paint waits for the end of its frame,
// or at most an interval from the first paint not shown, so that a frame of several rectangles
// costs one present and is shown the moment it is whole. On virtual time, where nobody watches
// and the threads' turns stay as they were, the display is shown at most once an interval.
uint32_t SdlDevice::presentIntervalStart() const {
    return hasVirtualTime() ? m_lastPresent : m_pendingSince;
}

void SdlDevice::frameDrawn() {
    if (m_presentPending.load()) {
        m_frameDrawn.store(true);
        queue().ring();
    }
}

// A frame the window cannot show is dropped: a present left due would wake the loop at once,
// again and again.
void SdlDevice::present() {
    if (m_presenter != nullptr) {
        m_presenter->show(displayImage(), placement());
    }
    if (replayControls() != nullptr) {
        showReplayStatus();
    }
    m_lastPresent = ticks();
    m_presentPending.store(false);
    m_frameDrawn.store(false);
    FrameStats::ofThisProcess().displayShown();
}

}  // namespace vornel
