// The input script's thread.
#include "harness/ScriptRunner.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "device/EmulatedDevice.h"

namespace vornel {

ScriptRunner::ScriptRunner(EmulatedDevice& device, InputScript script, bool quitAtEnd, ScriptInputSink* sink)
    : m_device(device), m_script(std::move(script)), m_quitAtEnd(quitAtEnd), m_sink(sink) {}

ScriptRunner::~ScriptRunner() {
    stop();
}

void ScriptRunner::start() {
    Clock& clock = m_device.deviceClock();
    m_cursor = clock.microseconds();
    clock.enroll(Clock::Role::kScript);
    m_thread = std::thread([this, &clock] {
        clock.attach(Clock::Role::kScript);
        run();
        clock.leave();
    });
}

void ScriptRunner::startWhenShown() {
    m_device.whenShown([this] { start(); });
}

void ScriptRunner::stop() {
    if (!m_thread.joinable()) {
        return;
    }
    Clock& clock = m_device.deviceClock();
    m_stopping.store(true);
    clock.wake(Clock::Role::kScript);
    clock.awaitLeft(Clock::Role::kScript);
    m_thread.join();
}

void ScriptRunner::run() {
    for (const ScriptCommand& command : m_script.commands()) {
        if (!perform(command)) {
            return;
        }
    }
    if (m_quitAtEnd) {
        quit();
    }
}

bool ScriptRunner::perform(const ScriptCommand& command) {
    const auto& v = command.values;
    using Input = DeviceInput::Kind;
    switch (command.kind) {
        case ScriptCommand::Kind::Wait:
            return waitDevice(v[0]);
        case ScriptCommand::Kind::KeyDown:
            deliver(Input::KeyDown, v[0]);
            return true;
        case ScriptCommand::Kind::KeyUp:
            deliver(Input::KeyUp, v[0]);
            return true;
        case ScriptCommand::Kind::Press:
            return press(Input::KeyDown, Input::KeyUp, v[0]);
        case ScriptCommand::Kind::Char:
            deliver(Input::Char, v[0]);
            return true;
        case ScriptCommand::Kind::Tap:
            return tap(v[0], v[1]);
        case ScriptCommand::Kind::Drag:
            return drag(v[0], v[1], v[2], v[3]);
        case ScriptCommand::Kind::ButtonDown:
            deliver(Input::ButtonDown, v[0]);
            return true;
        case ScriptCommand::Kind::ButtonUp:
            deliver(Input::ButtonUp, v[0]);
            return true;
        case ScriptCommand::Kind::ButtonPress:
            return press(Input::ButtonDown, Input::ButtonUp, v[0]);
        case ScriptCommand::Kind::Rotate:
            m_device.runOnWindowThread([device = &m_device] { device->rotate(); });
            return true;
        case ScriptCommand::Kind::Activate:
            deliver(Input::Activate, v[0]);
            return true;
        case ScriptCommand::Kind::Screenshot:
            screenshot(command);
            return true;
        case ScriptCommand::Kind::Quit:
            quit();  // as closing the window
            return false;
    }
    return true;
}

bool ScriptRunner::waitDevice(int32_t milliseconds) {
    m_cursor += static_cast<uint64_t>(milliseconds) * 1000;
    Clock& clock = m_device.deviceClock();
    while (!m_stopping.load() && clock.microseconds() < m_cursor) {
        clock.waitForWake(Clock::Role::kScript, m_cursor);
    }
    return !m_stopping.load();
}

void ScriptRunner::quit() {
    WindowMessage message;
    message.type = MessageType::Destroy;
    m_device.postMessage(message);
}

void ScriptRunner::deliver(DeviceInput::Kind kind, int32_t value) {
    DeviceInput input;
    input.kind = kind;
    input.value = value;
    hand(input);
}

void ScriptRunner::hand(const DeviceInput& input) {
    if (m_sink != nullptr) {
        m_sink->deliver(input);
    } else {
        m_device.deliverInput(input);
    }
}

// The pen cannot leave the window.
void ScriptRunner::deliverPen(DeviceInput::Kind kind, int32_t x, int32_t y) {
    const Rect window = m_device.windowRect();
    DeviceInput input;
    input.kind = kind;
    input.x = std::clamp(x, 0, std::max(window.right - window.left - 1, 0));
    input.y = std::clamp(y, 0, std::max(window.bottom - window.top - 1, 0));
    hand(input);
}

bool ScriptRunner::press(DeviceInput::Kind down, DeviceInput::Kind up, int32_t value) {
    deliver(down, value);
    const bool going = waitDevice(kPressMilliseconds);
    deliver(up, value);
    return going;
}

bool ScriptRunner::tap(int32_t x, int32_t y) {
    deliverPen(DeviceInput::Kind::PenDown, x, y);
    const bool going = waitDevice(kPressMilliseconds);
    deliverPen(DeviceInput::Kind::PenUp, x, y);
    return going;
}

bool ScriptRunner::drag(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int32_t distance = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    const int32_t steps = std::max(1, (distance + kDragStepPixels - 1) / kDragStepPixels);
    deliverPen(DeviceInput::Kind::PenDown, x1, y1);
    bool going = true;
    for (int32_t step = 1; step <= steps && going; ++step) {
        going = waitDevice(kDragStepMilliseconds);
        const int32_t x = x1 + (x2 - x1) * step / steps;
        const int32_t y = y1 + (y2 - y1) * step / steps;
        deliverPen(DeviceInput::Kind::PenMove, x, y);
    }
    deliverPen(DeviceInput::Kind::PenUp, x2, y2);
    return going;
}

void ScriptRunner::screenshot(const ScriptCommand& command) {
    const std::string where = m_script.name() + ":" + std::to_string(command.line);
    m_device.runOnWindowThread([device = &m_device, file = command.file, where] {
        std::string error;
        if (!device->displayImage().writePng(file, error)) {
            std::fprintf(stderr, "script %s: cannot write %s: %s\n", where.c_str(), file.c_str(), error.c_str());
        }
    });
}

}  // namespace vornel
