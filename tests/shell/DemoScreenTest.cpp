// The demonstration screen: sizes applied by the game thread, the ball under the keys and the
// pen, the confirm sound, the built-in player and the frame loop.
#include "shell/DemoScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlatform.h"

namespace vornel {
namespace {

class SoundHost : public ScreenHost {
public:
    void presentRect(int32_t, int32_t, int32_t, int32_t) override { ++presented; }
    void playSound(const String& name, int32_t) override { sounds.emplace_back(name.text()); }
    int32_t presented = 0;
    std::vector<std::string> sounds;
};

class DemoScreenTest : public test::ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        demo->setHost(host);
        demo->setSize(240, 320);  // the ball starts in the middle
        shell().m_game = demo;    // the fixture empties it at the end
        demo->m_frameTime = 100;  // 10 pixels at 100 pixels a second
    }
    std::vector<int32_t> ball() { return {demo->ballX(), demo->ballY()}; }

    Ref<DemoScreen> demo = new DemoScreen();
    Ref<SoundHost> host = new SoundHost();
};

TEST_F(DemoScreenTest, LaterSizesWaitForTheGameThreadAndKeepTheBallInProportion) {
    demo->m_stylusX = 200;
    demo->m_stylusY = 300;
    demo->update();
    demo->setSize(320, 240);
    EXPECT_EQ(demo->m_width, 240);  // the window thread only records it
    demo->update();
    EXPECT_EQ(demo->m_width, 320);
    EXPECT_EQ(ball(), (std::vector<int32_t>{266, 225}));  // 200 · 320 / 240, 300 · 240 / 320
    demo->setSize(100, 100);
    demo->update();
    EXPECT_EQ(demo->ballY(), 90);  // the whole ball stays on the screen
}

TEST_F(DemoScreenTest, HeldKeysMoveTheBallThePenPlacesItAndConfirmPlaysTheBounce) {
    demo->keyDown(2);
    demo->update();
    EXPECT_EQ(ball(), (std::vector<int32_t>{130, 160}));
    demo->keyUp(2);
    demo->keyDown('8');
    demo->m_frameTime = 1000;  // moves no further than a 120 ms frame
    demo->update();
    EXPECT_EQ(ball(), (std::vector<int32_t>{130, 172}));
    demo->keyUp('8');
    demo->keyDown(5);
    demo->m_stylusX = 30;
    demo->m_stylusY = 50;
    demo->update();
    EXPECT_EQ(ball(), (std::vector<int32_t>{30, 50}));
    EXPECT_EQ(host->sounds, std::vector<std::string>{"bounce"});
}

TEST_F(DemoScreenTest, BuiltInPlayerHoldsArrowsTowardItsTargetAndLetsGo) {
    DemoPlayer player;
    player.steer(100, 100, 1, 1, 32);  // a 1-pixel area: the target can only be (0, 0)
    player.steer(99, 99, 1, 1, 32);
    player.steer(0, 0, 1, 1, 32);
    ASSERT_EQ(platform.posted.size(), 4u);
    EXPECT_EQ(platform.posted[0].wParam, 37u);  // left, then up, pressed once and let go
    EXPECT_EQ(platform.posted[1].wParam, 38u);
    EXPECT_EQ(platform.posted[3].type, MessageType::KeyUp);
    EXPECT_EQ(platform.posted[3].wParam, 38u);
}

TEST_F(DemoScreenTest, RunDrawsGradientAndBallUntilTheWindowIsGone) {
    platform.fakeClock.onSleep = [this] { shell().m_shuttingDown = platform.fakeClock.sleeps == 3; };
    demo->run();
    auto pixel = [this](int32_t x, int32_t y) { return demo->m_buffer[y * 240 + x] & 0xFFFFFF; };
    EXPECT_EQ(pixel(0, 0), DemoScreen::kTopColor & 0xFFFFFF);
    EXPECT_EQ(pixel(120, 160), DemoBall::kBodyColor & 0xFFFFFF);
    EXPECT_NE(pixel(110, 150), DemoBall::kBodyColor & 0xFFFFFF);  // outside the disc
    EXPECT_GT(host->presented, 0);
}

}  // namespace
}  // namespace vornel
