// The emulated handheld in an SDL2 window: the display shown upright and zoomed by a whole
// factor, the desktop's keyboard, game controllers and mouse as the handheld's keys and pen,
// focus as activation, and sound on an SDL audio device. SDL's event loop runs on the first thread,
// inside getMessage. On SDL's windowless drivers (tests) the device keeps virtual time: its
// waits and timings go through the device's clock and its sound plays as a headless one's.
#pragma once

#include <SDL.h>

#include <atomic>
#include <memory>
#include <string>

#include "backends/headless/HeadlessWaveOutput.h"
#include "device/ControllerKeys.h"
#include "backends/sdl/GameControllers.h"
#include "backends/sdl/ScreenPlacement.h"
#include "backends/sdl/SdlKeys.h"
#include "backends/sdl/SdlWaveOutput.h"
#include "device/StickKeys.h"
#include "backends/sdl/WindowPresenter.h"
#include "backends/sdl/WindowZoom.h"
#include "core/FrameListener.h"
#include "device/DesktopKeys.h"
#include "device/EmulatedDevice.h"
#include "device/KeyboardKeys.h"
#include "device/PenRule.h"

namespace vornel {

class SdlDevice final : public EmulatedDevice, private FrameListener {
public:
    struct View {
        int32_t zoom = 0;  // 0: the largest that fits the window's display, at most 4
        bool fullscreen = false;
        // Real time and SDL's audio even on a windowless driver: tests of SDL's audio output,
        // whose threads keep real time, and runs that measure real time (--real-time).
        bool realTime = false;
    };

    // Starts SDL's video (and, when it can, audio); null with a one-line reason when there
    // is no display to open a window on.
    static std::unique_ptr<SdlDevice> create(const DeviceProfile& profile, Setup setup, View view, AudioTap* recorder,
                                             std::string& error);
    ~SdlDevice() override;

    WaveOutput& waveOutput() override {
        return m_virtualAudio ? static_cast<WaveOutput&>(*m_virtualAudio) : m_waveOutput;
    }

    int32_t zoom() const { return m_windowZoom.zoom(); }
    bool isFullscreen() const { return m_windowZoom.isFullscreen(); }
    void setZoom(int32_t zoom);
    void setFullscreen(bool fullscreen);
    // Writes vornel-YYYYMMDD-HHMMSS.png into the current folder and says where on stdout.
    void saveScreenshot();
    // Where the display lands in the window, in device pixels (more than the window's size
    // in points on a scaled desktop).
    ScreenPlacement placement();

    // How long the event loop sleeps at most before its next turn, in milliseconds: until a
    // present or a controller's repeat falls due, else a tenth of a second.
    int32_t nextWaitMs();

    SDL_Window* window() const { return m_window; }
    // Null until the window is created.
    WindowPresenter* presenter() const { return m_presenter.get(); }

protected:
    void waitForInput() override;
    bool openWindow(const std::string& title) override;
    void windowShown() override;
    void presentDisplay() override;
    void displayTurned() override;
    void raiseWindow() override;

private:
    SdlDevice(const DeviceProfile& profile, Setup setup, View view, AudioTap* recorder);

    // Milliseconds of the event loop's timings: device time on virtual time, else SDL's.
    uint32_t ticks();
    // The next event, or false when the wait ran out first.
    bool waitForEvent(SDL_Event& event);
    void handleEvent(const SDL_Event& event);
    void translate(const SDL_Event& event);
    void handleWindowEvent(const SDL_WindowEvent& event);
    void handleKey(const SDL_KeyboardEvent& event);
    void handleViewerKey(const SDL_KeyboardEvent& event);
    void showReplayStatus();
    void handleText(const char* utf8);
    void handleMouseButton(const SDL_MouseButtonEvent& event);
    void handleMouseMotion(const SDL_MouseMotionEvent& event);
    void handleControllerButton(const SDL_ControllerButtonEvent& event);
    void handleControllerAxis(const SDL_ControllerAxisEvent& event);
    void postKeyChanges(const ControllerKeys::KeyChanges& changes);
    void perform(DesktopKeys::EmulatorAction action);
    void post(MessageType type, uint32_t wParam, uint32_t lParam);
    // Stamped with the receipt of the event being handled, if any.
    void post(WindowMessage message);
    // The handheld window pixel under the window point.
    SDL_Point penPoint(int32_t windowX, int32_t windowY);
    void setIcon();
    // The display as it is turned now, in pixels of the handheld.
    SDL_Point pictureSize();
    void presentIfDue();
    uint32_t presentIntervalStart() const;
    void present();
    // Game thread: a display that waits to be shown is shown at once, not at the next interval.
    void frameDrawn() override;

    WindowZoom m_windowZoom;
    SDL_Window* m_window = nullptr;
    std::unique_ptr<WindowPresenter> m_presenter;
    uint32_t m_wakeEvent = 0;
    const bool m_waitsOnClock;  // for its events, rather than on SDL's wait
    std::atomic<bool> m_wakePending{false};
    std::atomic<bool> m_presentPending{false};  // display memory changed since the last present
    std::atomic<bool> m_frameDrawn{false};      // and the game has drawn a whole frame since
    std::string m_shownTitle;  // with a replay's status
    uint32_t m_lastPresent = 0;  // SDL ticks
    uint32_t m_pendingSince = 0;  // the first paint not yet shown
    int64_t m_eventReceivedUs = 0;  // while an event is handled: when the loop took it (InputLatency)
    PenRule m_pen;
    KeyboardKeys m_keyboardKeys;
    bool m_focused = true;  // a window out of focus gets no keys, from a keyboard or a controller
    GameControllers m_controllers;
    ControllerKeys m_controllerKeys;
    StickKeys m_stickKeys{m_controllerKeys};
    SdlWaveOutput m_waveOutput;
    std::unique_ptr<HeadlessWaveOutput> m_virtualAudio;  // on virtual time, in place of SDL's audio
};

}  // namespace vornel
