// The emulated handheld's answers, window, message queue, invalidation and painting, on the
// headless backend.
#include "backends/headless/HeadlessDevice.h"

#include <gtest/gtest.h>

#include <array>

#include "DeviceTestSupport.h"

namespace vornel {
namespace {

using testing_support::kTinyProfile;
using testing_support::receivedMessages;
using testing_support::recordingClient;
using testing_support::setupIn;

WindowMessage message(MessageType type, uint32_t wParam = 0, uint32_t lParam = 0) {
    WindowMessage made;
    made.type = type;
    made.wParam = wParam;
    made.lParam = lParam;
    return made;
}

class EmulatedDeviceTest : public testing::Test {
protected:
    void SetUp() override { receivedMessages().clear(); }

    // The messages queued so far, up to a marker posted now (getMessage would otherwise wait).
    std::vector<WindowMessage> drain(EmulatedDevice& device) {
        device.postMessage(message(MessageType::SettingChange, 0xC0DE));
        std::vector<WindowMessage> messages;
        WindowMessage next;
        while (device.getMessage(next) && !(next.type == MessageType::SettingChange && next.wParam == 0xC0DE)) {
            messages.push_back(next);
        }
        return messages;
    }
};

TEST_F(EmulatedDeviceTest, EachProfileAnswersAsItsHandheld) {
    struct Expected {
        const char* name;
        const char* platformType;
        const char* oem;
        int32_t width;
        int32_t height;
    };
    for (const Expected& expected : {Expected{"pocketpc", "PocketPC", "Pocket PC", 240, 320},
                                     Expected{"pocketpc-vga", "PocketPC", "Pocket PC VGA", 480, 640},
                                     Expected{"smartphone", "Smartphone", "Smartphone", 176, 220},
                                     Expected{"qwerty", "Smartphone", "MotoQ", 320, 240}}) {
        HeadlessDevice device(*DeviceProfile::find(expected.name), setupIn("/tmp/unused"));
        std::string value;
        ASSERT_TRUE(device.systemParameter(Platform::kPlatformType, value));
        EXPECT_EQ(value, expected.platformType);
        ASSERT_TRUE(device.systemParameter(Platform::kOemInfo, value));
        EXPECT_EQ(value, expected.oem);
        EXPECT_FALSE(device.systemParameter(99, value));

        RawFrameBuffer record;
        ASSERT_TRUE(device.queryRawFrameBuffer(record)) << expected.name;
        EXPECT_EQ(record.format, RawFrameBuffer::kFormat565);
        EXPECT_EQ(record.bitsPerPixel, 16);
        EXPECT_NE(record.address, nullptr);
        EXPECT_EQ(record.xStride, 2);
        EXPECT_EQ(record.yStride, 2 * expected.width);
        EXPECT_EQ(record.width, expected.width);
        EXPECT_EQ(record.height, expected.height);

        const Rect window = device.windowRect();
        EXPECT_EQ(window.right - window.left, expected.width);
        EXPECT_EQ(window.bottom - window.top, expected.height);
        EXPECT_EQ(device.displayOrientation(), Platform::kOrientation0);
        EXPECT_EQ(device.modulePath(), "/games/vornel/vornel");
    }
}

TEST_F(EmulatedDeviceTest, AProfileWithoutDisplayMemoryRefusesTheQuery) {
    HeadlessDevice device(testing_support::kTinyWithoutDisplayMemory, setupIn("/tmp/unused"));
    RawFrameBuffer record;
    EXPECT_FALSE(device.queryRawFrameBuffer(record));
}

TEST_F(EmulatedDeviceTest, CreateReachesTheProcedureBeforeTheWindowExists) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    ASSERT_TRUE(device.createWindow("Vornel", recordingClient));
    ASSERT_EQ(receivedMessages().size(), 1u);
    EXPECT_EQ(receivedMessages()[0].type, MessageType::Create);
    EXPECT_FALSE(device.createWindow("Vornel", recordingClient));  // one window only
}

TEST_F(EmulatedDeviceTest, ShowingTheWindowSendsSizeActivateAndAWholePaint) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    device.createWindow("Vornel", recordingClient);
    device.showWindow();
    const std::vector<WindowMessage> messages = drain(device);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].type, MessageType::Size);
    EXPECT_EQ(messages[0].lParam, 3u | 2u << 16);
    EXPECT_EQ(messages[1].type, MessageType::Activate);
    EXPECT_EQ(messages[1].wParam, 1u);
    EXPECT_EQ(messages[2].type, MessageType::Paint);
    const Rect painted = device.beginPaint();
    EXPECT_EQ((std::array{painted.left, painted.top, painted.right, painted.bottom}), (std::array{0, 0, 3, 2}));
    device.endPaint();
}

TEST_F(EmulatedDeviceTest, MessagesComeBackInTheOrderPostedAndQuitEndsTheLoop) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    device.postMessage(message(MessageType::KeyDown, 37));
    device.postMessage(message(MessageType::Char, '9'));
    device.postQuitMessage(5);
    device.postMessage(message(MessageType::KeyUp, 37));
    WindowMessage next;
    ASSERT_TRUE(device.getMessage(next));
    EXPECT_EQ(next.type, MessageType::KeyDown);
    EXPECT_EQ(next.wParam, 37u);
    ASSERT_TRUE(device.getMessage(next));
    EXPECT_EQ(next.type, MessageType::Char);
    EXPECT_FALSE(device.getMessage(next));
    EXPECT_EQ(device.quitCode(), 5);
    EXPECT_FALSE(device.getMessage(next));
}

TEST_F(EmulatedDeviceTest, DispatchCallsTheProcedureAndTheDefaultAnswersZero) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    device.createWindow("Vornel", recordingClient);
    device.dispatchMessage(message(MessageType::KeyUp, 27));
    ASSERT_EQ(receivedMessages().size(), 2u);
    EXPECT_EQ(receivedMessages()[1].wParam, 27u);
    EXPECT_EQ(device.defaultProcedure(message(MessageType::SettingChange)), 0);
}

TEST_F(EmulatedDeviceTest, InvalidationsUniteIntoOnePaint) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), setupIn("/tmp/unused"));
    device.invalidateRect({10, 20, 30, 40});
    device.invalidateRect({100, 5, 110, 25});
    device.invalidateRect({0, 0, 0, 50});  // empty: adds nothing to the rectangle
    const std::vector<WindowMessage> messages = drain(device);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, MessageType::Paint);
    const Rect painted = device.beginPaint();
    EXPECT_EQ((std::array{painted.left, painted.top, painted.right, painted.bottom}), (std::array{10, 5, 110, 40}));
    device.endPaint();
}

TEST_F(EmulatedDeviceTest, AnInvalidationAfterThePaintBeganQueuesAnother) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), setupIn("/tmp/unused"));
    device.invalidateRect({0, 0, 8, 8});
    ASSERT_EQ(drain(device).size(), 1u);
    device.beginPaint();
    device.invalidateRect({200, 300, 400, 400});  // clipped to the 240 x 320 window
    device.endPaint();
    ASSERT_EQ(drain(device).size(), 1u);
    const Rect painted = device.beginPaint();
    EXPECT_EQ((std::array{painted.left, painted.top, painted.right, painted.bottom}), (std::array{200, 300, 240, 320}));
    device.endPaint();
}

// Just after a turn the game still draws for the window's old shape: a rectangle below the
// turned window's bottom must still get its Paint, or the game waits for it in vain.
TEST_F(EmulatedDeviceTest, APaintAskedOutsideTheTurnedWindowIsAnsweredWithNothingToPaint) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), setupIn("/tmp/unused"));
    device.rotate();  // 320 x 240 now
    ASSERT_EQ(drain(device).size(), 2u);
    device.beginPaint();
    device.endPaint();
    device.invalidateRect({0, 250, 240, 320});
    const std::vector<WindowMessage> messages = drain(device);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, MessageType::Paint);
    const Rect painted = device.beginPaint();
    EXPECT_TRUE(painted.right <= painted.left || painted.bottom <= painted.top);
    device.endPaint();
    EXPECT_TRUE(drain(device).empty());  // answered once
}

TEST_F(EmulatedDeviceTest, APaintWhoseRectangleWasAlreadyPaintedIsDropped) {
    HeadlessDevice device(*DeviceProfile::find("pocketpc"), setupIn("/tmp/unused"));
    device.invalidateRect({0, 0, 8, 8});
    device.defaultProcedure(message(MessageType::Paint));  // validates, as the system's handling does
    EXPECT_TRUE(drain(device).empty());
}

TEST_F(EmulatedDeviceTest, ASurfacePixelBecomesTheDisplayDriversFiveSixFive) {
    EXPECT_EQ(PhysicalDisplay::toRgb565(0x00FF8040), 0xFC08);
    EXPECT_EQ(PhysicalDisplay::toRgb565(0xFFFFFFFF), 0xFFFF);
    EXPECT_EQ(PhysicalDisplay::toRgb565(0x00070307), 0x0000);  // bits below the 5-6-5 ones are dropped
}

// The surface's pixels are numbered 1..6 in blue so that each one can be followed.
std::vector<uint32_t> numberedSurface(int32_t count) {
    std::vector<uint32_t> surface;
    for (int32_t i = 1; i <= count; ++i) {
        surface.push_back(static_cast<uint32_t>(i) << 3);
    }
    return surface;
}

std::vector<uint16_t> displayOf(const EmulatedDevice& device) {
    const PhysicalDisplay& display = device.display();
    return {display.memory(), display.memory() + display.width() * display.height()};
}

TEST_F(EmulatedDeviceTest, TheDeviceContextCopyWritesUprightMemoryRowByRow) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    const std::vector<uint32_t> surface = numberedSurface(6);
    device.setBitsToDevice(surface.data(), 3, 2);
    EXPECT_EQ(displayOf(device), (std::vector<uint16_t>{1, 2, 3, 4, 5, 6}));
}

TEST_F(EmulatedDeviceTest, TurnedNinetyDegreesTheFirstColumnLandsOnTheBottomRow) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    device.rotate();
    ASSERT_EQ(device.displayOrientation(), Platform::kOrientation90);
    // Logical 2 x 3 surface: rows (1 2) (3 4) (5 6). Frame x = y, frame y = 1 - x.
    const std::vector<uint32_t> surface = numberedSurface(6);
    device.setBitsToDevice(surface.data(), 2, 3);
    EXPECT_EQ(displayOf(device), (std::vector<uint16_t>{2, 4, 6, 1, 3, 5}));
}

TEST_F(EmulatedDeviceTest, TurnedTwoSeventyDegreesTheFirstRowLandsOnTheRightColumn) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    device.rotate();
    device.rotate();
    ASSERT_EQ(device.displayOrientation(), Platform::kOrientation270);
    // Frame x = 2 - y, frame y = x.
    const std::vector<uint32_t> surface = numberedSurface(6);
    device.setBitsToDevice(surface.data(), 2, 3);
    EXPECT_EQ(displayOf(device), (std::vector<uint16_t>{5, 3, 1, 6, 4, 2}));
}

TEST_F(EmulatedDeviceTest, RotationCyclesThroughNinetyAndTwoSeventyAndSendsTheNewSize) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    const std::array<int32_t, 3> expected = {Platform::kOrientation90, Platform::kOrientation270, Platform::kOrientation0};
    const std::array<uint32_t, 3> sizes = {2u | 3u << 16, 2u | 3u << 16, 3u | 2u << 16};
    for (std::size_t turn = 0; turn < expected.size(); ++turn) {
        device.rotate();
        EXPECT_EQ(device.displayOrientation(), expected[turn]);
        const std::vector<WindowMessage> messages = drain(device);
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].type, MessageType::Size);
        EXPECT_EQ(messages[0].lParam, sizes[turn]);
        EXPECT_EQ(messages[1].type, MessageType::Paint);
        const Rect window = device.windowRect();
        EXPECT_EQ(packPoint(window.right, window.bottom), sizes[turn]);
        device.beginPaint();
        device.endPaint();
    }
}

TEST_F(EmulatedDeviceTest, TheDisplayImageShowsWhatWasDrawnWhileTurned) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    for (int turns = 1; turns <= 2; ++turns) {
        device.rotate();
        const std::vector<uint32_t> surface = numberedSurface(6);
        device.setBitsToDevice(surface.data(), 2, 3);
        const DisplayImage picture = device.displayImage();
        ASSERT_EQ(picture.width(), 2);
        ASSERT_EQ(picture.height(), 3);
        EXPECT_EQ(picture.pixels(), (std::vector<uint16_t>{1, 2, 3, 4, 5, 6})) << "turns " << turns;
    }
}

TEST_F(EmulatedDeviceTest, AStretchedCopyDoublesEachPixelThroughTheOrientation) {
    const DeviceProfile wide = {"wide", "PocketPC", "Wide", 4, 2, true, true, false};
    HeadlessDevice device(wide, setupIn("/tmp/unused"));
    const std::vector<uint32_t> surface = {0x00FF8040, 0x000000F8};
    device.stretchBits(surface.data(), 2, 1, 4, 2);
    EXPECT_EQ(displayOf(device), (std::vector<uint16_t>{0xFC08, 0xFC08, 0x001F, 0x001F, 0xFC08, 0xFC08, 0x001F, 0x001F}));

    device.rotate();  // logical 2 x 4: the surface's two pixels become the top and bottom halves
    const std::vector<uint32_t> column = {0x00FF8040, 0x000000F8};
    device.stretchBits(column.data(), 1, 2, 2, 4);
    const DisplayImage picture = device.displayImage();
    EXPECT_EQ(picture.pixels(), (std::vector<uint16_t>{0xFC08, 0xFC08, 0xFC08, 0xFC08, 0x001F, 0x001F, 0x001F, 0x001F}));
}

TEST_F(EmulatedDeviceTest, ACopyInsideAPaintChangesOnlyThePaintedRectangle) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    device.invalidateRect({1, 0, 2, 2});
    ASSERT_EQ(drain(device).size(), 1u);
    device.beginPaint();
    const std::vector<uint32_t> surface = numberedSurface(6);
    device.setBitsToDevice(surface.data(), 3, 2);
    device.endPaint();
    EXPECT_EQ(displayOf(device), (std::vector<uint16_t>{0, 2, 0, 0, 5, 0}));
}

TEST_F(EmulatedDeviceTest, ASurfaceLargerThanTheWindowIsClipped) {
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    const std::vector<uint32_t> surface = numberedSurface(12);  // 4 x 3
    device.setBitsToDevice(surface.data(), 4, 3);
    EXPECT_EQ(displayOf(device), (std::vector<uint16_t>{1, 2, 3, 5, 6, 7}));
}

TEST_F(EmulatedDeviceTest, MovingTheWindowToAnotherSizeSendsSizeAtOnce) {
    HeadlessDevice device(*DeviceProfile::find("smartphone"), setupIn("/tmp/unused"));
    device.createWindow("Vornel", recordingClient);
    device.moveWindow(0, 0, 176, 220);  // unchanged
    EXPECT_EQ(receivedMessages().size(), 1u);
    device.moveWindow(0, 20, 176, 500);  // kept on the screen
    ASSERT_EQ(receivedMessages().size(), 2u);
    EXPECT_EQ(receivedMessages()[1].type, MessageType::Size);
    EXPECT_EQ(receivedMessages()[1].lParam, 176u | 200u << 16);
    const Rect window = device.windowRect();
    EXPECT_EQ((std::array{window.left, window.top, window.right, window.bottom}), (std::array{0, 20, 176, 220}));
}

}  // namespace
}  // namespace vornel
