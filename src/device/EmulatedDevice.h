// What every backend shares: the emulated handheld's answers (platform type, OEM string,
// display memory, orientation), the one window with its message queue and invalid
// rectangle, painting through the display's orientation, device time and the single-instance
// check. A backend adds how it waits for input, shows the display and plays sound.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/Clock.h"
#include "device/DeviceProfile.h"
#include "device/MessageQueue.h"
#include "device/PhysicalDisplay.h"
#include "platform/Platform.h"
#include "device/DeviceInput.h"
#include "device/DisplayImage.h"
#include "device/ReplayControls.h"

namespace vornel {

class SingleInstance;

class EmulatedDevice : public Platform {
public:
    // The most window pixels a pixel of the handheld takes on a side (a window's zoom).
    static constexpr int32_t kLargestZoom = 8;

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
    bool paintInTurn(const Rect& rect) override;
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
    DisplayImage displayImage() const { return DisplayImage::of(m_display, m_orientation.load()); }
    // Runs the work on the window's thread, in order with the messages posted so far.
    void runOnWindowThread(std::function<void()> action) { m_queue.postAction(std::move(action)); }
    // Called once on the window's thread when the window is shown, after its first Size,
    // Activate and paint are queued: where input from outside (a script) may begin.
    void whenShown(std::function<void()> action) { m_whenShown = std::move(action); }
    // Input from outside the device, from any thread: posted as the window's messages, as the
    // handheld's own input would arrive.
    void deliverInput(const DeviceInput& input);
    // A playback shown in the replay viewer: its controls take the viewer's keys and no live
    // input reaches the game (device/ReplayControls.h); null for none. Set before the window
    // opens; the controls outlive the device's window thread.
    void setReplayControls(ReplayControls* controls) { m_replayControls = controls; }
    ReplayControls* replayControls() const { return m_replayControls; }
    // The title the window was made with.
    const std::string& title() const { return m_title; }
    // Requests from later copies to bring the window to the front, so far.
    int32_t raiseRequests() const { return m_raiseRequests.load(); }
    // Stops the instance listener: when the run ends, and first thing in a backend's
    // destructor, so that no thread reaches a backend that is going away.
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
    // Display memory changed (end of a paint): show it, and tell FrameStats::displayShown
    // when it is (the input latency ends there).
    virtual void presentDisplay();
    // Whether presentDisplay may run on any thread, so that on virtual time a paint may be
    // done in the window's turn by the thread that asks for it.
    virtual bool showsOnAnyThread() const { return false; }
    // The display turned: the window's shape changed.
    virtual void displayTurned() {}
    virtual void raiseWindow() {}

    MessageQueue& queue() { return m_queue; }
    // The next queued message without waiting: actions queued before it run, the quit
    // message ends the queue. False when nothing is queued (or the quit has come).
    bool takeMessage(WindowMessage& message);

private:
    Rect clientRect();
    // The window's thread waits for input; a paint in its turn keeps it waiting until done.
    void waitAsWindow();
    // The part of the window's client area that lies on the screen, within the paint and a
    // picture of width x height.
    Rect drawableRect(const Rect& window, int32_t orientation, int32_t width, int32_t height);
    void raiseRequested();

    const DeviceProfile m_profile;
    const Setup m_setup;
    const std::unique_ptr<Clock> m_clock;
    PhysicalDisplay m_display;  // written and read in the window's turn only
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

    // Whose turn the window's is: the window's thread while it is not waiting for input, else
    // a thread painting in its turn, if any.
    std::mutex m_turnLock;
    std::condition_variable m_turnFree;
    bool m_windowWaits = false;     // guarded by m_turnLock
    bool m_paintingInTurn = false;  // guarded by m_turnLock

    std::function<void()> m_whenShown;
    std::unique_ptr<SingleInstance> m_instance;
    std::atomic<int32_t> m_raiseRequests{0};
    ReplayControls* m_replayControls = nullptr;
};

}  // namespace vornel
