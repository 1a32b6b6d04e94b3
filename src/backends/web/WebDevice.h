// The emulated handheld in a web page: the display drawn into the page's canvas, the page's
// keys, pointer and visibility as the window's messages, and the game on the page's only
// thread: its body runs from the message loop, and each of its waits lets the window's
// messages through and then yields to the page.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <optional>
#include <string_view>

#include "backends/web/CanvasUpload.h"
#include "backends/web/WebClock.h"
#include "backends/web/WebWaveOutput.h"
#include "device/ControllerKeys.h"
#include "device/DesktopKey.h"
#include "device/EmulatedDevice.h"
#include "device/KeyboardKeys.h"
#include "device/PenRule.h"
#include "device/StickKeys.h"

namespace vornel {

class WebDevice final : public EmulatedDevice {
public:
    WebDevice(const DeviceProfile& profile, Setup setup);
    ~WebDevice() override;

    // The device the page's events reach; null before one is made.
    static WebDevice* current();

    Clock& clock() override { return m_clock; }
    WaveOutput& waveOutput() override { return m_waveOutput; }
    bool findRunningCopy() override { return false; }  // one page, one game
    bool adoptGameBody(std::function<void()>& body) override;

    // Dispatches what the page and the game have queued, played sounds included, and answers
    // whether that painted; a call inside another does nothing.
    bool pump();
    // A timedemo never lets the page run (its clock skips the game's waits): each paint the
    // game asks for is then made at once, as the window's thread makes it meanwhile on the
    // desktop, instead of never. Set before the window opens.
    void paintAtOnce() { m_paintsAtOnce = true; }
    // What the page's handler of an event does at once, answered inside the handler (where
    // the browser allows it): keep the event from the browser, and switch full screen.
    static constexpr int32_t kTaken = 1;
    static constexpr int32_t kToggleFullScreen = 2;
    // The event's modifier keys, as the page passes them.
    static constexpr int32_t kControl = 1;
    static constexpr int32_t kAlt = 2;
    static constexpr int32_t kAltGraph = 4;
    static constexpr int32_t kMeta = 8;
    enum class PointerKind { kDown = 0, kMove = 1, kUp = 2 };

    // From the page, as the browser reports them: a key's event.code and event.key, a
    // pointer (CSS pixels from the canvas's corner, and the canvas's size in them), the
    // page losing the focus or shown or hidden.
    int32_t pageKeyDown(std::string_view code, std::string_view key, int32_t modifiers, bool repeat);
    int32_t pageKeyUp(std::string_view code, std::string_view key, int32_t modifiers);
    void pageBlur();
    // An on-screen key of the handheld (by its name, DesktopKeys::ofHandheldKey) going down
    // or up: held while the finger is down and repeating as a held controller button does.
    void pageScreenKey(std::string_view name, bool down);
    // A gamepad of the standard layout as the page polls it each frame: the buttons held (bit
    // i for the Gamepad API's button i) and the left stick (-1 to 1 on each axis); and a
    // gamepad unplugged.
    void pageGamepad(int32_t pad, uint32_t buttons, double stickX, double stickY);
    void pageGamepadGone(int32_t pad);
    int32_t pagePointer(PointerKind kind, int32_t pointer, int32_t button, double x, double y, double width,
                        double height);
    void pageVisible(bool visible);
    // The page's animation frame, asked for by a run that yields for no time or too soon
    // after the last upload: the part of the display painted since then goes to the canvas.
    void pageFrame();

    // ---- Platform ----
    // Also notes the part of display memory the paint may change.
    Rect beginPaint() override;
    void invalidateRect(const Rect& rect) override;

protected:
    void waitForInput() override;
    bool openWindow(const std::string& title) override;
    void presentDisplay() override;
    void displayTurned() override;

private:
    // receivedUs: when the page's event that gave the input came (InputLatency), 0 for none.
    void postInput(WindowMessage message, int64_t receivedUs = 0);
    void postKeyChanges(const ControllerKeys::KeyChanges& changes, int64_t receivedUs = 0);
    // A held key's repeats that fell due.
    void postRepeats();
    // Before the game yields to the page (for some real time, or for none): what it painted
    // since the last upload goes to the canvas, now or at the page's next animation frame.
    void showPainted(bool pageGetsTime);
    void uploadPainted();

    WebClock m_clock;
    WebWaveOutput m_waveOutput;
    std::function<void()> m_gameBody;
    bool m_pumping = false;
    bool m_paintsAtOnce = false;
    KeyboardKeys m_keyboardKeys;
    PenRule m_pen;
    ControllerKeys m_controllerKeys;  // the gamepads' buttons and the on-screen keys
    StickKeys m_stickKeys{m_controllerKeys};
    std::map<int32_t, uint32_t> m_gamepadButtons;  // the buttons each gamepad held at its last poll
    std::optional<int32_t> m_penPointer;  // the pointer that is the pen, while one is
    CanvasUpload m_upload;
    bool m_frameAsked = false;  // an animation frame is asked for and has not come yet
    double m_lastUploadMs = 0;  // when the canvas last took display memory, in the page's time
};

}  // namespace vornel
