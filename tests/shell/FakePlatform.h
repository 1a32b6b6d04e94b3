// A platform that answers what a test sets up and records what the shell asks of it, with a
// device clock that moves only when someone sleeps.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/RunContext.h"
#include "platform/Platform.h"
#include "shell/Shell.h"

namespace vornel::test {

class FakeClock : public Clock {
public:
    uint32_t ticks() override { return now; }
    void sleep(uint32_t milliseconds) override {
        ++sleeps;
        now += milliseconds;
        if (onSleep) {
            onSleep();
        }
    }
    uint32_t now = 1000;
    int32_t sleeps = 0;
    std::function<void()> onSleep;
};

class SilentWaveOutput : public WaveOutput {
public:
    bool open(const WaveFormat&, Callback, void*) override { return false; }
    bool prepareHeader(WaveHeader&) override { return false; }
    bool write(WaveHeader&) override { return false; }
    uint32_t position() override { return 0; }
    void reset() override {}
    bool unprepareHeader(WaveHeader&) override { return false; }
    void close() override {}
};

inline std::vector<int32_t> sides(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

class FakePlatform : public Platform {
public:
    static constexpr int32_t kDefaultResult = 77;

    // What the device answers.
    std::string path = "/games/vornel/vornel";
    std::string platformType = "PocketPC";
    std::string oem = "Pocket PC";
    bool hasOem = true;
    bool hasFrameBuffer = true;
    RawFrameBuffer frameBuffer{RawFrameBuffer::kFormat565, 16, nullptr, 2, 480, 240, 320};
    int32_t orientation = kOrientation0;
    bool runningCopy = false;
    bool refuseWindow = false;
    Rect rect{0, 0, 240, 320};

    // What the shell did.
    WindowClient* client = nullptr;
    std::vector<Rect> moves;
    std::deque<WindowMessage> messages;  // handed out by getMessage until empty or quit
    bool adoptsGameBody = false;          // a platform without threads
    std::function<void()> adoptedBody;
    bool quitPosted = false;
    int32_t exitCode = -1;
    std::vector<WindowMessage> posted;
    std::vector<Rect> invalidated;
    std::function<void()> onInvalidate;  // a test may paint at once
    int32_t endPaints = 0;
    std::vector<Rect> deviceCopies;  // surface size and stretched size (0 x 0 unscaled)
    std::function<void()> onDeviceCopy;    // runs while the copy reads the surface
    FakeClock fakeClock;
    SilentWaveOutput wave;

    std::string modulePath() override { return path; }
    bool systemParameter(int32_t which, std::string& value) override {
        value = which == kPlatformType ? platformType : oem;
        return which == kPlatformType || hasOem;
    }
    bool queryRawFrameBuffer(RawFrameBuffer& record) override {
        record = frameBuffer;
        return hasFrameBuffer;
    }
    int32_t displayOrientation() override { return orientation; }
    bool findRunningCopy() override { return runningCopy; }
    bool createWindow(const std::string&, WindowClient& windowClient) override {
        client = refuseWindow ? nullptr : &windowClient;
        return !refuseWindow && client->windowMessage(WindowMessage{MessageType::Create, 0, 0}) == 0;
    }
    Rect windowRect() override { return rect; }
    void moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) override {
        moves.push_back({left, top, left + width, top + height});
    }
    void showWindow() override {}
    // Like the browser's: the game's body is kept and runs at the first wait for a message.
    bool adoptGameBody(std::function<void()>& body) override {
        if (!adoptsGameBody) {
            return false;
        }
        adoptedBody = std::move(body);
        return true;
    }
    bool getMessage(WindowMessage& message) override {
        if (adoptedBody) {
            std::function<void()> body = std::move(adoptedBody);
            adoptedBody = nullptr;
            body();
        }
        if (quitPosted || messages.empty()) {
            return false;
        }
        message = messages.front();
        messages.pop_front();
        return true;
    }
    int32_t dispatchMessage(const WindowMessage& message) override { return client->windowMessage(message); }
    int32_t defaultProcedure(const WindowMessage&) override { return kDefaultResult; }
    void postQuitMessage(int32_t code) override {
        quitPosted = true;
        exitCode = code;
    }
    int32_t quitCode() override { return exitCode; }
    void postMessage(const WindowMessage& message) override { posted.push_back(message); }
    void invalidateRect(const Rect& invalid) override {
        invalidated.push_back(invalid);
        if (onInvalidate) {
            onInvalidate();
        }
    }
    Rect beginPaint() override { return rect; }
    void endPaint() override { ++endPaints; }
    void setBitsToDevice(const uint32_t*, int32_t width, int32_t height) override {
        stretchBits(nullptr, width, height, 0, 0);
    }
    void stretchBits(const uint32_t*, int32_t width, int32_t height, int32_t toWidth, int32_t toHeight) override {
        deviceCopies.push_back({width, height, toWidth, toHeight});
        if (onDeviceCopy) {
            onDeviceCopy();
        }
    }
    Clock& clock() override { return fakeClock; }
    WaveOutput& waveOutput() override { return wave; }
};

// Each test starts with a fresh shell on the fake platform and its clock.
class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override { m_shell = std::make_unique<Shell>(platform); }
    void TearDown() override { m_shell.reset(); }
    // A new shell in place of the test's, as a process started afresh has.
    void freshShell() {
        m_shell.reset();
        m_shell = std::make_unique<Shell>(platform);
    }
    Shell& shell() { return *m_shell; }
    ShellState& state() { return m_shell->state(); }
    // The message as the platform hands it to the window.
    int32_t send(MessageType type, uint32_t wParam = 0, uint32_t lParam = 0) {
        return m_shell->windowMessage(WindowMessage{type, wParam, lParam});
    }

    FakePlatform platform;
    std::unique_ptr<Shell> m_shell;

private:
    const RunContext m_context{"", "", &platform.fakeClock};
};

}  // namespace vornel::test
