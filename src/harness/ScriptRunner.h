// Plays an input script on a thread of its own: hands its input to the device (or to the sink
// that takes it there), delivered as the handheld's own input would arrive, waits in device time (its thread takes
// the script's turns of a virtual clock), and has the window's thread turn the display and
// write screenshots, so that a screenshot shows what was painted before it.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "harness/InputScript.h"
#include "device/DeviceInput.h"
#include "harness/ScriptInputSink.h"
#include "platform/WindowMessage.h"

namespace vornel {

class EmulatedDevice;

class ScriptRunner final {
public:
    // A press holds the key this long, more than one 32 ms frame, so that the game also
    // sees it held; a tap holds the pen as long.
    static constexpr int32_t kPressMilliseconds = 40;
    // A drag moves the pen about this many pixels at a time, this often.
    static constexpr int32_t kDragStepPixels = 4;
    static constexpr int32_t kDragStepMilliseconds = 8;

    // quitAtEnd: a script that ends without 'quit' closes the window (headless runs),
    // otherwise the game goes on. sink may be null (the device posts the input as messages);
    // it must outlive the runner.
    ScriptRunner(EmulatedDevice& device, InputScript script, bool quitAtEnd, ScriptInputSink* sink = nullptr);
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;
    ~ScriptRunner();

    void start();
    // Starts when the device's window is shown, on the window's thread.
    void startWhenShown();
    // Ends the run at its next wait and joins the thread.
    void stop();

private:
    void run();
    // false when the run is stopped or the script has quit.
    bool perform(const ScriptCommand& command);
    // Waits until device time has moved on by the milliseconds since the previous wait ended,
    // so that waits add up exactly however long posting took. false when stopped.
    bool waitDevice(int32_t milliseconds);
    void quit();
    void hand(const DeviceInput& input);
    void deliver(DeviceInput::Kind kind, int32_t value);
    void deliverPen(DeviceInput::Kind kind, int32_t x, int32_t y);
    // Down, held for kPressMilliseconds, up: a key or a controller's button.
    bool press(DeviceInput::Kind down, DeviceInput::Kind up, int32_t value);
    bool tap(int32_t x, int32_t y);
    bool drag(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void screenshot(const ScriptCommand& command);

    EmulatedDevice& m_device;
    const InputScript m_script;
    const bool m_quitAtEnd;
    ScriptInputSink* const m_sink;
    uint64_t m_cursor = 0;  // device microseconds at which the script's time now stands

    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

}  // namespace vornel
