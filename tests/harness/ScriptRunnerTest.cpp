// Input scripts played against the headless device: the messages, their device-time order,
// rotation and screenshots on the window's thread, and the end of a script.
#include "harness/ScriptRunner.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "DeviceTestSupport.h"
#include "backends/headless/HeadlessDevice.h"

namespace vornel {
namespace {

using testing_support::TemporaryFolder;

struct Received {
    WindowMessage message;
    uint32_t tick;  // device milliseconds since the window was shown, when it arrived
};

InputScript scriptOf(const std::string& text) {
    InputScript script;
    std::string error;
    EXPECT_TRUE(InputScript::parse(text, "run.txt", script, error)) << error;
    return script;
}

// Runs the device's message loop until Destroy arrives, as the shell would, painting
// nothing; answers everything the procedure would have seen after showing the window.
std::vector<Received> runUntilDestroy(HeadlessDevice& device) {
    std::vector<Received> received;
    const uint32_t shown = device.clock().ticks();
    device.showWindow();
    WindowMessage message;
    while (device.getMessage(message)) {
        if (message.type == MessageType::Paint) {
            device.defaultProcedure(message);
            continue;
        }
        received.push_back({message, device.clock().ticks() - shown});
        if (message.type == MessageType::Destroy) {
            break;
        }
    }
    return received;
}

std::vector<MessageType> typesOf(const std::vector<Received>& received) {
    std::vector<MessageType> types;
    for (const Received& entry : received) {
        types.push_back(entry.message.type);
    }
    return types;
}

// The handheld's keyboard sent nothing when a soft key or the back key went down.
TEST(ScriptRunnerTest, SoftKeysAndBackArriveOnlyAtTheirRelease) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), testing_support::setupIn("/tmp/unused"));
    ScriptRunner runner(device, scriptOf("press f1\nkey down f2\nkey up f2\npress escape\npress backspace\nquit\n"), true);
    runner.startWhenShown();
    const std::vector<Received> received = runUntilDestroy(device);
    std::vector<std::pair<MessageType, uint32_t>> keys;
    for (const Received& entry : received) {
        if (entry.message.type == MessageType::KeyDown || entry.message.type == MessageType::KeyUp) {
            keys.emplace_back(entry.message.type, entry.message.wParam);
        }
    }
    using T = MessageType;
    EXPECT_EQ(keys, (std::vector<std::pair<MessageType, uint32_t>>{
                        {T::KeyUp, 112}, {T::KeyUp, 113}, {T::KeyUp, 27}, {T::KeyDown, 8}, {T::KeyUp, 8}}));
}

// Without a window there is no controller: a button is the key it stands for.
TEST(ScriptRunnerTest, ButtonsArriveAsTheirKeysWithoutAWindow) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), testing_support::setupIn("/tmp/unused"));
    ScriptRunner runner(
        device, scriptOf("button press a\nbutton down dpad-left\nbutton up dpad-left\nbutton press start\nquit\n"), true);
    runner.startWhenShown();
    std::vector<std::pair<MessageType, uint32_t>> keys;
    for (const Received& entry : runUntilDestroy(device)) {
        if (entry.message.type == MessageType::KeyDown || entry.message.type == MessageType::KeyUp) {
            keys.emplace_back(entry.message.type, entry.message.wParam);
        }
    }
    using T = MessageType;
    EXPECT_EQ(keys, (std::vector<std::pair<MessageType, uint32_t>>{
                        {T::KeyDown, 13}, {T::KeyUp, 13}, {T::KeyDown, 37}, {T::KeyUp, 37}, {T::KeyUp, 113}}));
}

TEST(ScriptRunnerTest, EachCommandPostsItsMessagesInDeviceTime) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), testing_support::setupIn("/tmp/unused"));
    ScriptRunner runner(device, scriptOf("press enter\nwait 500\nchar #\ntap 5 6\nkey down 200\nkey up right\nactivate off\nquit\n"
                              "press escape\n"), true);
    runner.startWhenShown();
    const std::vector<Received> received = runUntilDestroy(device);
    using T = MessageType;
    ASSERT_EQ(typesOf(received), (std::vector<T>{T::Size, T::Activate, T::KeyDown, T::KeyUp, T::Char, T::PenDown,
                                                 T::PenUp, T::KeyDown, T::KeyUp, T::Activate, T::Destroy}));
    EXPECT_EQ(received[2].message.wParam, 13u);
    EXPECT_EQ(received[3].message.wParam, 13u);
    EXPECT_EQ(received[4].message.wParam, static_cast<uint32_t>('#'));
    EXPECT_EQ(received[5].message.lParam, 5u | 6u << 16);
    EXPECT_EQ(received[6].message.lParam, 5u | 6u << 16);
    EXPECT_EQ(received[7].message.wParam, 200u);
    EXPECT_EQ(received[8].message.wParam, 39u);
    EXPECT_EQ(received[9].message.wParam, 0u);
    // The key is held for a frame and more; the wait lies between its release and the char,
    // the tap holds the pen as long, and the rest comes at once.
    std::vector<uint32_t> ticks;
    for (const Received& entry : received) {
        ticks.push_back(entry.tick);
    }
    EXPECT_EQ(ticks, (std::vector<uint32_t>{0, 0, 0, 40, 540, 540, 580, 580, 580, 580, 580}));
}

TEST(ScriptRunnerTest, ADragMovesThePenInSmallStepsWhileItIsDown) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), testing_support::setupIn("/tmp/unused"));
    ScriptRunner runner(device, scriptOf("drag 10 300 30 290\nquit"), true);
    runner.startWhenShown();
    const std::vector<Received> received = runUntilDestroy(device);
    ASSERT_GE(received.size(), 6u);
    EXPECT_EQ(received[2].message.type, MessageType::PenDown);
    EXPECT_EQ(received[2].message.lParam, packPoint(10, 300));
    int32_t lastX = 10;
    std::size_t index = 3;
    for (; received[index].message.type == MessageType::PenMove; ++index) {
        EXPECT_EQ(received[index].message.wParam, 1u);
        const int32_t x = lowWord(received[index].message.lParam);
        EXPECT_GT(x, lastX);
        EXPECT_LE(x - lastX, ScriptRunner::kDragStepPixels);
        lastX = x;
    }
    EXPECT_EQ(lastX, 30);
    EXPECT_EQ(received[index].message.type, MessageType::PenUp);
    EXPECT_EQ(received[index].message.lParam, packPoint(30, 290));
}

TEST(ScriptRunnerTest, PenPositionsStayInsideTheWindow) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), testing_support::setupIn("/tmp/unused"));
    ScriptRunner runner(device, scriptOf("tap 4000 400\nquit"), true);
    runner.startWhenShown();
    const std::vector<Received> received = runUntilDestroy(device);
    ASSERT_EQ(received[2].message.type, MessageType::PenDown);
    EXPECT_EQ(received[2].message.lParam, packPoint(239, 319));
}

TEST(ScriptRunnerTest, AHeadlessScriptThatEndsWithoutQuitClosesTheWindow) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), testing_support::setupIn("/tmp/unused"));
    ScriptRunner runner(device, scriptOf("wait 10\n"), true);
    runner.startWhenShown();
    const std::vector<Received> received = runUntilDestroy(device);
    EXPECT_EQ(typesOf(received), (std::vector<MessageType>{MessageType::Size, MessageType::Activate, MessageType::Destroy}));
}

TEST(ScriptRunnerTest, RotateTurnsTheDisplayOnTheWindowThread) {
    // Each turn happens when the window's thread reaches it; the waits let it get there
    // before the next command.
    HeadlessDevice device(*DeviceProfile::find("qwerty"), testing_support::setupIn("/tmp/unused"));
    ScriptRunner runner(device, scriptOf("rotate\nwait 20\nrotate\nwait 20\nquit"), true);
    runner.startWhenShown();
    const std::vector<Received> received = runUntilDestroy(device);
    ASSERT_EQ(received.size(), 5u);
    EXPECT_EQ(received[2].message.type, MessageType::Size);
    EXPECT_EQ(received[2].message.lParam, packPoint(240, 320));
    EXPECT_EQ(received[3].message.lParam, packPoint(240, 320));  // 90 to 270 degrees: still on its side
    EXPECT_EQ(device.displayOrientation(), Platform::kOrientation270);
}

// Reads a PNG as 8-bit RGB.
std::vector<uint8_t> readRgb(const std::string& path, uint32_t& width, uint32_t& height) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    width = image.width;
    height = image.height;
    return pixels;
}

TEST(ScriptRunnerTest, AScreenshotShowsTheScreenUprightAsPaintedBeforeIt) {
    TemporaryFolder folder("script-screenshot");
    const std::string shot = folder.file("turned.png");
    HeadlessDevice device(testing_support::kTinyProfile, testing_support::setupIn("/tmp/unused"));
    ScriptRunner runner(device, scriptOf("rotate\nwait 100\nscreenshot " + shot + "\nquit"), true);
    runner.startWhenShown();
    device.showWindow();
    WindowMessage message;
    while (device.getMessage(message) && message.type != MessageType::Destroy) {
        if (message.type == MessageType::Paint) {
            device.beginPaint();
            const std::vector<uint32_t> surface = {0x00FF8040, 0, 0, 0, 0, 0x000000FF};  // logical 2 x 3
            device.setBitsToDevice(surface.data(), 2, 3);
            device.endPaint();
        }
    }
    uint32_t width = 0;
    uint32_t height = 0;
    const std::vector<uint8_t> rgb = readRgb(shot, width, height);
    ASSERT_EQ(width, 2u);
    ASSERT_EQ(height, 3u);
    // 0xFC08 widened by repeating its top bits: red 31 -> 255, green 32 -> 130, blue 8 -> 66.
    EXPECT_EQ((std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3)), (std::vector<uint8_t>{255, 130, 66}));
    EXPECT_EQ((std::vector<uint8_t>(rgb.end() - 3, rgb.end())), (std::vector<uint8_t>{0, 0, 255}));
}

// At real speed the wait would last an hour; the stop ends it before device time moves on.
TEST(ScriptRunnerTest, StoppingEndsALongWaitAtOnce) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), testing_support::setupIn("/tmp/unused", 1));
    ScriptRunner runner(device, scriptOf("wait 3600000\nquit"), true);
    runner.startWhenShown();
    device.showWindow();
    runner.stop();
    EXPECT_EQ(device.clock().ticks(), 0u);
}

}  // namespace
}  // namespace vornel
