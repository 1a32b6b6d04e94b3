// Presenting frames: the paint-pending handshake of presentRect, and the paint handler's
// choice between display memory and the device context.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "FakePlatform.h"
#include "shell/WindowHost.h"
#include "shell/WindowProcedure.h"

namespace vornel {
namespace {

using Pixels = std::vector<uint16_t>;

class PresentationTest : public test::ShellFixture {
protected:
    // A 4 x 3 game filled with 0xFF8040 in a 4 x 3 window whose display memory may be used.
    void SetUp() override {
        ShellFixture::SetUp();
        platform.rect = {0, 0, 4, 3};
        state().m_rawFrameBuffer = {RawFrameBuffer::kFormat565, 16, frame.data(), 2, 8, 4, 3};
        state().m_rawFrameBufferUsable = true;
        state().m_windowActive = true;
        host = new WindowHost(state(), platform);
        state().m_windowHost = host;
        game->setColor(0xFFFF8040);
        game->setSize(4, 3);
        game->render();
        state().m_game = game;
    }
    void paint() { send(MessageType::Paint); }

    Pixels frame = Pixels(12, 0);
    Ref<WindowHost> host;
    Ref<Screen> game = new Screen();
};

TEST_F(PresentationTest, ThreePaintsAfterASizeChangeGoThroughTheDeviceContext) {
    send(MessageType::Size, 0, packPoint(4, 3));
    for (int32_t paints = 1; paints <= 3; ++paints) {
        paint();
        EXPECT_EQ(platform.deviceCopies.size(), static_cast<std::size_t>(paints));
    }
    EXPECT_EQ(test::sides(platform.deviceCopies[0]), (std::vector<int32_t>{4, 3, 0, 0}));  // unscaled
    EXPECT_EQ(frame[0], 0);
    state().m_paintPending = true;
    paint();
    EXPECT_EQ(platform.deviceCopies.size(), 3u);
    EXPECT_EQ(frame, Pixels(12, 0xFC08));
    EXPECT_FALSE(state().m_paintPending.load());
}

TEST_F(PresentationTest, InactiveWindowOrDoubleSizePaintsThroughTheDeviceContext) {
    state().m_windowActive = false;
    paint();
    state().m_windowActive = true;
    state().m_rawFrameBufferUsable = false;
    state().m_doubleSize = true;
    state().m_screenWidth = 8;
    state().m_screenHeight = 6;
    paint();
    ASSERT_EQ(platform.deviceCopies.size(), 2u);
    EXPECT_EQ(test::sides(platform.deviceCopies[1]), (std::vector<int32_t>{4, 3, 8, 6}));
    EXPECT_EQ(frame[0], 0);
    state().m_game = nullptr;  // without a game a paint only ends
    state().m_paintPending = true;
    paint();
    EXPECT_EQ(platform.endPaints, 3);
    EXPECT_FALSE(state().m_paintPending.load());
}

// The device copy is where the buffer is read: the game thread cannot draw meanwhile.
TEST_F(PresentationTest, PaintHoldsTheDrawingLockWhileItReadsTheBuffer) {
    state().m_windowActive = false;
    bool gameCouldDraw = true;
    platform.onDeviceCopy = [this, &gameCouldDraw] {
        std::thread([this, &gameCouldDraw] {
            gameCouldDraw = host->drawingLock().try_lock();
            if (gameCouldDraw) {
                host->drawingLock().unlock();
            }
        }).join();
    };
    paint();
    EXPECT_FALSE(gameCouldDraw);
    ASSERT_TRUE(host->drawingLock().try_lock());
    host->drawingLock().unlock();
}

TEST_F(PresentationTest, PresentRectDoublesInDoubleSizeModeAndReturnsOnceThePaintIsDone) {
    state().m_doubleSize = true;
    platform.onInvalidate = [this] { paint(); };
    host->presentRect(10, 20, 30, 40);
    ASSERT_EQ(platform.invalidated.size(), 1u);
    EXPECT_EQ(test::sides(platform.invalidated[0]), (std::vector<int32_t>{20, 40, 60, 80}));
    EXPECT_EQ(platform.fakeClock.sleeps, 0);
}

TEST_F(PresentationTest, PresentRectPollsEveryMillisecondAndGivesUpAfter500) {
    host->presentRect(0, 0, 4, 3);
    EXPECT_EQ(platform.fakeClock.sleeps, 500);
    EXPECT_EQ(platform.fakeClock.now, 1500u);
    platform.fakeClock.onSleep = [this] {
        if (platform.fakeClock.sleeps == 507) {
            paint();  // a late paint ends the wait
        }
    };
    host->presentRect(0, 0, 4, 3);
    EXPECT_EQ(platform.fakeClock.sleeps, 507);
    state().m_shuttingDown = true;  // without a message loop no paint will come
    host->presentRect(0, 0, 4, 3);
    EXPECT_EQ(platform.fakeClock.sleeps, 507);
}

}  // namespace
}  // namespace vornel
