// The vornel program run headless with input scripts: the demonstration answers keys, the pen
// and rotation on every kind of handheld, closes with status 0, and a second copy for the
// same player leaves at once while the first runs on.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "bank/PngFile.h"
#include "bank/RgbaImage.h"

extern char** environ;

namespace vornel {
namespace {

namespace fs = std::filesystem;

struct Spot {
    int32_t x = -1;  // centre of the ball's pixels; -1 when none shows
    int32_t y = -1;
};

class EndToEnd : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vornel-e2e-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string file(const std::string& name) const { return (m_folder / name).string(); }

    // Starts the program headless, ten times faster than real time, on the script's lines.
    pid_t start(const std::string& device, const std::string& script) {
        std::ofstream(file("script.txt")) << script;
        std::vector<std::string> arguments = {VORNEL_PROGRAM, "--headless", "--device", device, "--speed", "10",
                                              "--save", file("save"), "--data", VORNEL_DATA,
                                              "--script", file("script.txt")};
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t child = -1;
        return ::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? child : -1;
    }
    static int exitStatus(pid_t child) {
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child) {
            return -1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    int run(const std::string& device, const std::string& script) { return exitStatus(start(device, script)); }

    // The picture and where the orange ball shows on it (the display is 5-6-5).
    Spot ballIn(const std::string& name, RgbaImage& picture) {
        std::string error;
        EXPECT_TRUE(PngFile::read(file(name), picture, error)) << error;
        int64_t sumX = 0, sumY = 0, count = 0;
        for (int32_t y = 0; y < picture.height(); ++y) {
            for (int32_t x = 0; x < picture.width(); ++x) {
                const uint32_t pixel = picture.pixel(x, y);
                const uint32_t red = pixel >> 16 & 0xFF, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
                if (red >= 0xC0 && green >= 0x80 && green <= 0xC0 && blue <= 0x60) {
                    sumX += x;
                    sumY += y;
                    ++count;
                }
            }
        }
        return count == 0 ? Spot{} : Spot{static_cast<int32_t>(sumX / count), static_cast<int32_t>(sumY / count)};
    }

    fs::path m_folder;
};

TEST_F(EndToEnd, DemoFollowsKeysPenAndRotation) {
    ASSERT_EQ(run("pocketpc", "wait 1000\nscreenshot " + file("start.png") +
                                  "\nkey down right\nwait 1000\nkey up right\nwait 500\nscreenshot " +
                                  file("moved.png") + "\ntap 40 60\nwait 1000\nscreenshot " + file("tapped.png") +
                                  "\npress enter\nrotate\nwait 1000\nscreenshot " + file("turned.png") + "\nquit\n"),
              0);
    RgbaImage picture;
    const Spot start = ballIn("start.png", picture);
    EXPECT_EQ(picture.width(), 240);
    EXPECT_EQ(picture.height(), 320);
    EXPECT_NEAR(start.x, 120, 3);
    EXPECT_NEAR(start.y, 160, 3);
    const Spot moved = ballIn("moved.png", picture);
    EXPECT_GT(moved.x, start.x + 40);  // about 100 pixels in a second
    EXPECT_NEAR(moved.y, start.y, 1);
    const Spot tapped = ballIn("tapped.png", picture);
    EXPECT_NEAR(tapped.x, 40, 3);
    EXPECT_NEAR(tapped.y, 60, 3);
    const Spot turned = ballIn("turned.png", picture);
    EXPECT_EQ(picture.width(), 320);  // the player turned the handheld: the sides swap
    EXPECT_EQ(picture.height(), 240);
    EXPECT_NEAR(turned.x, 53, 4);  // the ball keeps its place in proportion
    EXPECT_NEAR(turned.y, 45, 4);
}

TEST_F(EndToEnd, EveryHandheldShowsTheBallInTheMiddle) {
    struct Case {
        const char* device;
        int32_t width, height;
    };
    for (const Case& device : {Case{"pocketpc-vga", 480, 640}, Case{"smartphone", 176, 220}, Case{"qwerty", 320, 240}}) {
        ASSERT_EQ(run(device.device, "wait 1000\nscreenshot " + file("shot.png") + "\n"), 0) << device.device;
        RgbaImage picture;
        const Spot ball = ballIn("shot.png", picture);
        EXPECT_EQ(picture.width(), device.width) << device.device;
        EXPECT_EQ(picture.height(), device.height) << device.device;
        EXPECT_NEAR(ball.x, device.width / 2, 4) << device.device;
        EXPECT_NEAR(ball.y, device.height / 2, 4) << device.device;
    }
}

TEST_F(EndToEnd, SecondCopyForTheSamePlayerLeavesWhileTheFirstRuns) {
    const pid_t first = start("pocketpc", "screenshot " + file("first.png") + "\nwait 600000\n");
    ASSERT_GT(first, 0);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(file("first.png")) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // A copy that showed a window would take this screenshot at once.
    EXPECT_EQ(run("pocketpc", "screenshot " + file("second.png") + "\nwait 100000\n"), 0);
    EXPECT_FALSE(fs::exists(file("second.png")));
    int status = 0;
    EXPECT_EQ(::waitpid(first, &status, WNOHANG), 0);  // still running
    ::kill(first, SIGTERM);                            // closes its window
    EXPECT_EQ(exitStatus(first), 0);
}

}  // namespace
}  // namespace vornel
