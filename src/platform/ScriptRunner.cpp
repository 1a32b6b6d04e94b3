// The input script's thread.
#include "platform/ScriptRunner.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/EmulatedDevice.h"

namespace vornel {

ScriptRunner::ScriptRunner(EmulatedDevice& device, const InputScript& script, bool quitAtEnd)
    : m_device(device), m_script(script), m_quitAtEnd(quitAtEnd) {}

ScriptRunner::~ScriptRunner() {
    stop();
}

void ScriptRunner::start() {
    m_cursor = m_device.deviceClock().microseconds();
    m_thread = std::thread([this] { run(); });
}

void ScriptRunner::stop() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
    }
    m_stopped.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void ScriptRunner::run() {
    for (const ScriptCommand& command : m_script.commands()) {
        if (!perform(command)) {
            return;
        }
    }
    if (m_quitAtEnd) {
        post(MessageType::Destroy, 0, 0);
    }
}

bool ScriptRunner::perform(const ScriptCommand& command) {
    const auto& v = command.values;
    switch (command.kind) {
        case ScriptCommand::Kind::Wait:
            return waitDevice(v[0]);
        case ScriptCommand::Kind::KeyDown:
            post(MessageType::KeyDown, static_cast<uint32_t>(v[0]), 0);
            return true;
        case ScriptCommand::Kind::KeyUp:
            post(MessageType::KeyUp, static_cast<uint32_t>(v[0]), 0);
            return true;
        case ScriptCommand::Kind::Press:
            return press(v[0]);
        case ScriptCommand::Kind::Char:
            post(MessageType::Char, static_cast<uint32_t>(v[0]), 0);
            return true;
        case ScriptCommand::Kind::Tap:
            return tap(v[0], v[1]);
        case ScriptCommand::Kind::Drag:
            return drag(v[0], v[1], v[2], v[3]);
        case ScriptCommand::Kind::Rotate:
            m_device.runOnWindowThread([device = &m_device] { device->rotate(); });
            return true;
        case ScriptCommand::Kind::Activate:
            post(MessageType::Activate, static_cast<uint32_t>(v[0]), 0);
            return true;
        case ScriptCommand::Kind::Screenshot:
            screenshot(command);
            return true;
        case ScriptCommand::Kind::Quit:
            post(MessageType::Destroy, 0, 0);  // as closing the window
            return false;
    }
    return true;
}

bool ScriptRunner::waitDevice(int32_t milliseconds) {
    m_cursor += static_cast<uint64_t>(milliseconds) * 1000;
    std::unique_lock<std::mutex> lock(m_lock);
    return !m_stopped.wait_until(lock, m_device.deviceClock().realTimeOf(m_cursor), [this] { return m_stopping; });
}

void ScriptRunner::post(MessageType type, uint32_t wParam, uint32_t lParam) {
    WindowMessage message;
    message.type = type;
    message.wParam = wParam;
    message.lParam = lParam;
    m_device.postMessage(message);
}

// The pen cannot leave the window.
uint32_t ScriptRunner::penPoint(int32_t x, int32_t y) {
    const ScreenRect window = m_device.windowRect();
    const int32_t width = window.right - window.left;
    const int32_t height = window.bottom - window.top;
    return packPoint(std::clamp(x, 0, std::max(width - 1, 0)), std::clamp(y, 0, std::max(height - 1, 0)));
}

bool ScriptRunner::press(int32_t code) {
    post(MessageType::KeyDown, static_cast<uint32_t>(code), 0);
    const bool going = waitDevice(kPressMilliseconds);
    post(MessageType::KeyUp, static_cast<uint32_t>(code), 0);
    return going;
}

bool ScriptRunner::tap(int32_t x, int32_t y) {
    post(MessageType::PenDown, 0, penPoint(x, y));
    const bool going = waitDevice(kPressMilliseconds);
    post(MessageType::PenUp, 0, penPoint(x, y));
    return going;
}

bool ScriptRunner::drag(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int32_t distance = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    const int32_t steps = std::max(1, (distance + kDragStepPixels - 1) / kDragStepPixels);
    post(MessageType::PenDown, 0, penPoint(x1, y1));
    bool going = true;
    for (int32_t step = 1; step <= steps && going; ++step) {
        going = waitDevice(kDragStepMilliseconds);
        const int32_t x = x1 + (x2 - x1) * step / steps;
        const int32_t y = y1 + (y2 - y1) * step / steps;
        post(MessageType::PenMove, 1, penPoint(x, y));
    }
    post(MessageType::PenUp, 0, penPoint(x2, y2));
    return going;
}

void ScriptRunner::screenshot(const ScriptCommand& command) {
    const std::string where = m_script.name() + ":" + std::to_string(command.line);
    m_device.runOnWindowThread([device = &m_device, file = command.file, where] {
        std::string error;
        if (!device->uprightPicture().writePng(file, error)) {
            std::fprintf(stderr, "script %s: cannot write %s: %s\n", where.c_str(), file.c_str(), error.c_str());
        }
    });
}

}  // namespace vornel
