// What both backends share: the emulated handheld's answers (platform type, OEM string,
// display memory, orientation), the one window with its message queue and invalid
// rectangle, painting through the display's orientation, device time, the input script's
// runner and the single-instance check. A backend adds how it waits for input, shows the
// display and plays sound.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/Clock.h"
#include "platform/DeviceProfile.h"
#include "platform/InputScript.h"
#include "platform/MessageQueue.h"
#include "platform/PhysicalDisplay.h"
#include "platform/Platform.h"
#include "platform/ScriptInput.h"
#include "platform/UprightPicture.h"

namespace vornel {

class ScriptRunner;
class SingleInstance;

class EmulatedDevice : public Platform {
public:
    struct Setup {
        std::string programFolder;  // where the data files are, without a trailing '/'
        std::string saveFolder;     // where the settings file and the instance lock live
        // Device time in real time runs this many times faster; virtual time at most this many
        // times faster than real time (0: as fast as the threads go).
        int32_t speed = 0;
        // Virtual device time (VirtualClock): runs without a window, and the window of SDL's
        // windowless drivers. The thread that makes the device is then its window's thread.
        bool virtualTime = false;
    };

    EmulatedDevice(const DeviceProfile& profile, Setup setup);
    ~EmulatedDevice() override;

    // ---- Platform ----
    std::string modulePath() override;
    bool systemParameter(int32_t which, std::string& value) override;
    bool queryRawFrameBuffer(RawFrameBuffer& record) override;
    int32_t displayOrientation() override { return m_orientation.load(); }
    bool findRunningCopy() override;
    bool createWindow(const std::string& title, WindowClient& client) override;
    Rect windowRect() override;
    void moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void showWindow() override;
    bool getMessage(WindowMessage& message) override;
    int32_t dispatchMessage(const WindowMessage& message) override;
    int32_t defaultProcedure(const WindowMessage& message) override;
    void postQuitMessage(int32_t exitCode) override { m_queue.postQuit(exitCode); }
    int32_t quitCode() override { return m_quitCode.load(); }
    void postMessage(const WindowMessage& message) override;
    void invalidateRect(const Rect& rect) override;
    Rect beginPaint() override;
    void endPaint() override;
    void setBitsToDevice(const uint32_t* surface, int32_t width, int32_t height) override;
    void stretchBits(const uint32_t* surface, int32_t width, int32_t height, int32_t targetWidth,
                     int32_t targetHeight) override;
    Clock& clock() override { return *m_clock; }

    // ---- The emulator ----
    const DeviceProfile& profile() const { return m_profile; }
    // Device time, which every thread of the handheld waits through.
    Clock& deviceClock() { return *m_clock; }
    bool hasVirtualTime() const { return m_setup.virtualTime; }
    // --speed: how many times faster than real time device time runs (at most); 0 when not given.
    int32_t speed() const { return m_setup.speed; }
    const PhysicalDisplay& display() const { return m_display; }
    // Turns the display 0 -> 90 -> 270 -> 0 degrees as turning the handheld did: the window's
    // sides swap, it receives Size and is painted anew. Window thread.
    void rotate();
    // The display as the player sees it; window thread.
    UprightPicture uprightPicture() const { return UprightPicture::of(m_display, m_orientation.load()); }
    // Runs the work on the window's thread, in order with the messages posted so far.
    void runOnWindowThread(std::function<void()> action) { m_queue.postAction(std::move(action)); }
    // The script starts when the window is shown. quitAtEnd: a script that ends without
    // 'quit' closes the window (headless runs), otherwise the game goes on.
    void setScript(InputScript script, bool quitAtEnd);
    // An input script's input, from the script's thread: posted as the window's messages.
    // A backend with a window of its own sends it through that window's event loop instead.
    virtual void deliverScriptInput(const ScriptInput& input);
    // Requests from later copies to bring the window to the front, so far.
    int32_t raiseRequests() const { return m_raiseRequests.load(); }
    // Stops the script and the instance listener: when the run ends, and first thing in a
    // backend's destructor, so that no thread reaches a backend that is going away.
    void stopThreads();
    // The window's thread takes no more turns of virtual time: at the very end of a run, once
    // the threads it waits for have ended.
    void windowThreadLeaves() { m_clock->leave(); }

protected:
    // Blocks until the message queue may hold something new. Window thread.
    virtual void waitForInput() = 0;
    // The backend's part of window creation (a real window), before Create is dispatched.
    virtual bool openWindow(const std::string& title) = 0;
    virtual void windowShown() {}
    // Display memory changed (end of a paint): show it.
    virtual void presentDisplay() {}
    // The display turned: the window's shape changed.
    virtual void displayTurned() {}
    virtual void raiseWindow() {}

    MessageQueue& queue() { return m_queue; }
    // The next queued message without waiting: actions queued before it run, the quit
    // message ends the queue. False when nothing is queued (or the quit has come).
    bool takeMessage(WindowMessage& message);

private:
    Rect clientRect();
    // The part of the window's client area that lies on the screen, within the paint and a
    // picture of width x height.
    Rect drawableRect(const Rect& window, int32_t orientation, int32_t width, int32_t height);
    void raiseRequested();

    const DeviceProfile m_profile;
    const Setup m_setup;
    const std::unique_ptr<Clock> m_clock;
    PhysicalDisplay m_display;  // written and read on the window's thread only
    std::atomic<int32_t> m_orientation{kOrientation0};

    std::mutex m_windowLock;
    Rect m_windowRect;  // on the logical screen, guarded by m_windowLock
    std::string m_title;
    WindowClient* m_client = nullptr;

    MessageQueue m_queue;
    std::atomic<int32_t> m_quitCode{0};
    bool m_quitReceived = false;
    bool m_painting = false;
    Rect m_paintRect;

    InputScript m_script;
    bool m_hasScript = false;
    bool m_quitAtScriptEnd = false;
    std::unique_ptr<ScriptRunner> m_runner;
    std::unique_ptr<SingleInstance> m_instance;
    std::atomic<int32_t> m_raiseRequests{0};
};

}  // namespace vornel
