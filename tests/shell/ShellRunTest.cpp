// The start-up: program folder, device kind, display memory, the window rules, the game
// object's host and size, the game thread, and the early ways out.
#include "shell/ShellRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "FakePlatform.h"
#include "core/ProgramFolder.h"
#include "media/SoundPlayer.h"
#include "shell/WindowHost.h"
#include "sprites/Menu.h"

namespace vornel {
namespace {

// Records what the start-up hands the game object, and that the game thread ran it.
class RecordingScreen : public Screen {
public:
    void setHost(Ref<ScreenHost> host) override {
        calls.push_back("host");
        Screen::setHost(std::move(host));
    }
    void setSize(int32_t width, int32_t height) override {
        calls.push_back(std::to_string(width) + "x" + std::to_string(height));
    }
    void run() override {
        ranOn = std::this_thread::get_id();
        ran = true;
    }

    std::vector<std::string> calls;
    std::atomic<bool> ran{false};
    std::thread::id ranOn;
};

Ref<RecordingScreen> g_game;

class ShellRunTest : public test::ShellFixture {
protected:
    void TearDown() override {
        ShellFixture::TearDown();
        g_game = nullptr;
    }
    // Starts the program afresh; the window is closed at once.
    int start() {
        freshShell();
        g_game = nullptr;
        platform.quitPosted = false;
        platform.messages = {WindowMessage{MessageType::Destroy, 0, 0}};
        return ShellRun(shell(), config).run(
            [](Shell&, const RunConfig&) -> Ref<Screen> { return g_game = new RecordingScreen(); });
    }

    RunConfig config;
};

TEST_F(ShellRunTest, GameGetsHostThenSizeRunsOnItsThreadAndTheQuitCodeIsReturned) {
    platform.path = "/games/vornel/bin/vornel";
    EXPECT_EQ(start(), 0);
    EXPECT_TRUE(g_game->ran.load());
    EXPECT_EQ(g_game->calls, (std::vector<std::string>{"host", "240x320"}));
    EXPECT_EQ(g_game->m_host.get(), state().m_windowHost.get());
    EXPECT_EQ(ProgramFolder::path(), "/games/vornel/bin/");
    EXPECT_EQ(ShellRun::folderOf("\\Program Files\\Vornel\\Vornel.exe"), "\\Program Files\\Vornel\\");
    EXPECT_EQ(ShellRun::folderOf("vornel"), "");
}

// A platform without threads (the browser) runs the game from its message loop instead.
TEST_F(ShellRunTest, APlatformWithoutThreadsRunsTheGameFromItsMessageLoop) {
    platform.adoptsGameBody = true;
    EXPECT_EQ(start(), 0);
    EXPECT_TRUE(g_game->ran.load());
    EXPECT_EQ(g_game->ranOn, std::this_thread::get_id());
    EXPECT_FALSE(shell().gameThread().isRunning());
}

TEST_F(ShellRunTest, DisplayMemoryIsUsedOnlyAsFiveSixFive) {
    const std::pair<uint16_t, uint16_t> formats[] = {{1, 16}, {33, 16}, {33, 32}, {2, 16}};
    const bool usable[] = {true, true, false, false};
    for (int i = 0; i < 4; ++i) {
        platform.frameBuffer.format = formats[i].first;
        platform.frameBuffer.bitsPerPixel = formats[i].second;
        start();
        EXPECT_EQ(state().m_rawFrameBufferUsable, usable[i]) << i;
    }
    platform.frameBuffer.format = 1;
    platform.hasFrameBuffer = false;
    start();
    EXPECT_FALSE(state().m_rawFrameBufferUsable);
}

TEST_F(ShellRunTest, A480PixelWideWindowIsDoubleSizeWithoutDisplayMemory) {
    platform.rect = {0, 0, 480, 640};
    start();
    EXPECT_TRUE(state().m_doubleSize && !state().m_rawFrameBufferUsable);
    EXPECT_EQ(g_game->calls.back(), "240x320");
    platform.rect = {0, 0, 479, 640};
    start();
    EXPECT_TRUE(!state().m_doubleSize && state().m_rawFrameBufferUsable);
}

TEST_F(ShellRunTest, OnlyTheExactOemStringMotoQMakesAQwertyDevice) {
    for (const char* oem : {"MotoQ", "motoq", "MotoQX", ""}) {
        platform.oem = oem;
        start();
        EXPECT_EQ(state().m_qwerty.load(), std::string(oem) == "MotoQ") << oem;
    }
    platform.oem = "MotoQ";
    platform.hasOem = false;
    start();
    EXPECT_FALSE(state().m_qwerty.load());
}

TEST_F(ShellRunTest, PocketPcGetsTheTouchLayoutAndASmartphoneWindowReachesTheBottom) {
    start();
    EXPECT_TRUE(state().m_touchLayout && g_game->isTouchScreen());
    EXPECT_TRUE(platform.moves.empty());
    platform.platformType = "pocketpc";  // compared exactly: a Smartphone
    platform.rect = {0, 26, 176, 220};
    start();
    EXPECT_FALSE(state().m_pocketPc || state().m_touchLayout);
    ASSERT_EQ(platform.moves.size(), 1u);
    EXPECT_EQ(test::sides(platform.moves[0]), (std::vector<int32_t>{0, 26, 176, 246}));
    EXPECT_EQ(g_game->calls.back(), "176x220");
}

TEST_F(ShellRunTest, ARunningCopyOrARefusedWindowEndsTheStartBeforeAnyGameExists) {
    platform.exitCode = 9;
    platform.runningCopy = true;
    EXPECT_EQ(start(), 0);
    EXPECT_EQ(platform.client, nullptr);
    platform.runningCopy = false;
    platform.refuseWindow = true;
    EXPECT_EQ(start(), 0);
    EXPECT_FALSE(g_game || state().m_windowHost);
}

}  // namespace
}  // namespace vornel
