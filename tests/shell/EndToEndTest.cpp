// The vornel program run headless: the built-in player plays whole games that end on legal
// scores; every handheld shows the intro, a rally and a point, and takes a turn of the screen;
// a second copy for the same player leaves at once while the first runs on.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bank/PngFile.h"
#include "bank/RgbaImage.h"

extern char** environ;

namespace vornel {
namespace {

namespace fs = std::filesystem;

// A game ends as soon as a side has 11 points and a lead of two: at 11 against 9 or fewer,
// or, once both had 10, with a lead of exactly two; 99 is the cap.
bool isLegalFinalScore(int32_t player, int32_t opponent) {
    const int32_t high = std::max(player, opponent);
    const int32_t low = std::min(player, opponent);
    if (low < 0 || high > 99) {
        return false;
    }
    return (high == 11 && low <= 9) || (high > 11 && high - low == 2);
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vornel-e2e-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string file(const std::string& name) const { return (m_folder / name).string(); }

    // Starts the program headless on the script's lines, its standard output going to the
    // file "out.txt"; speed is how many times faster than real time device time runs.
    pid_t start(const std::string& device, const std::string& script, const std::vector<std::string>& extra = {},
                int32_t speed = 10) {
        std::ofstream(file("script.txt")) << script;
        std::vector<std::string> arguments = {VORNEL_PROGRAM, "--headless", "--device", device,
                                              "--speed", std::to_string(speed), "--save", file("save"),
                                              "--data", VORNEL_DATA, "--script", file("script.txt")};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, file("out.txt").c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t child = -1;
        const int result = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
        ::posix_spawn_file_actions_destroy(&actions);
        return result == 0 ? child : -1;
    }
    static int exitStatus(pid_t child) {
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child) {
            return -1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    int run(const std::string& device, const std::string& script, const std::vector<std::string>& extra = {}) {
        return exitStatus(start(device, script, extra));
    }
    std::string output() const {
        std::ifstream in(file("out.txt"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The final scores the program reported, player's first.
    std::vector<std::pair<int32_t, int32_t>> finalScores() const {
        std::vector<std::pair<int32_t, int32_t>> scores;
        std::istringstream lines(output());
        for (std::string line; std::getline(lines, line);) {
            int32_t player = -1, opponent = -1;
            if (std::sscanf(line.c_str(), "game over %d %d", &player, &opponent) == 2) {
                scores.emplace_back(player, opponent);
            }
        }
        return scores;
    }

    RgbaImage picture(const std::string& name) {
        RgbaImage image;
        std::string error;
        EXPECT_TRUE(PngFile::read(file(name), image, error)) << name << ": " << error;
        return image;
    }
    // A blank display is one colour, or nearly so: the game's scene has hundreds.
    static bool isBlank(const RgbaImage& image) {
        std::set<uint32_t> colours;
        for (uint32_t pixel : image.pixels()) {
            colours.insert(RgbaImage::colour(pixel));
        }
        return colours.size() < 64;
    }
    // Whether the two pictures differ anywhere in the box, given in hundredths of their size.
    static bool differIn(const RgbaImage& a, const RgbaImage& b, int32_t left, int32_t top, int32_t right,
                         int32_t bottom) {
        for (int32_t y = a.height() * top / 100; y < a.height() * bottom / 100; ++y) {
            for (int32_t x = a.width() * left / 100; x < a.width() * right / 100; ++x) {
                if (RgbaImage::colour(a.pixel(x, y)) != RgbaImage::colour(b.pixel(x, y))) {
                    return true;
                }
            }
        }
        return false;
    }

    fs::path m_folder;
};

TEST_F(EndToEnd, TheBuiltInPlayerPlaysWholeGamesThatEndOnLegalScores) {
    const pid_t game = start("pocketpc", "wait 3600000\n", {"--autoplay"}, 20);
    ASSERT_GT(game, 0);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(100);
    while (finalScores().empty() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    ::kill(game, SIGTERM);  // closes its window
    EXPECT_EQ(exitStatus(game), 0);
    const auto scores = finalScores();
    ASSERT_FALSE(scores.empty()) << "no game ended; the program said:\n" << output();
    for (const auto& [player, opponent] : scores) {
        EXPECT_TRUE(isLegalFinalScore(player, opponent)) << player << ":" << opponent;
    }
}

// A point takes some ten seconds on average, so the script looks at the score four times.
TEST_F(EndToEnd, EveryHandheldShowsTheIntroARallyAndAPointAndTakesATurn) {
    struct Case {
        const char* device;
        int32_t width, height;
    };
    constexpr int32_t kPointShots = 4;
    // The intro and the main menu, which the built-in player leaves for a new game, are over
    // after some four seconds.
    std::string script = "wait 5000\nscreenshot " + file("intro.png") + "\nwait 1200\nscreenshot " + file("rally.png");
    for (int32_t shot = 0; shot < kPointShots; ++shot) {
        script += "\nwait 6000\nscreenshot " + file("point" + std::to_string(shot) + ".png");
    }
    script += "\nrotate\nwait 1000\nscreenshot " + file("turned.png") + "\nquit\n";
    for (const Case& device : {Case{"pocketpc", 240, 320}, Case{"pocketpc-vga", 480, 640},
                               Case{"smartphone", 176, 220}, Case{"qwerty", 320, 240}}) {
        SCOPED_TRACE(device.device);
        ASSERT_EQ(run(device.device, script, {"--autoplay"}), 0);
        const RgbaImage intro = picture("intro.png");
        const RgbaImage rally = picture("rally.png");
        std::vector<RgbaImage> points;
        for (int32_t shot = 0; shot < kPointShots; ++shot) {
            points.push_back(picture("point" + std::to_string(shot) + ".png"));
        }
        bool scored = false;
        std::vector<const RgbaImage*> shots = {&intro, &rally};
        for (const RgbaImage& point : points) {
            shots.push_back(&point);
        }
        for (const RgbaImage* shot : shots) {
            ASSERT_EQ(shot->width(), device.width);
            ASSERT_EQ(shot->height(), device.height);
            EXPECT_FALSE(isBlank(*shot));
            // A score and its marker in one of the top corners changed.
            scored = scored || differIn(intro, *shot, 0, 0, 20, 8) || differIn(intro, *shot, 80, 0, 100, 8);
        }
        EXPECT_TRUE(differIn(intro, rally, 0, 10, 100, 100));  // the ball and the bats moved
        EXPECT_TRUE(scored);
        const RgbaImage turned = picture("turned.png");
        EXPECT_EQ(turned.width(), device.height);  // the sides swap
        EXPECT_EQ(turned.height(), device.width);
        EXPECT_FALSE(isBlank(turned));
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
