// The vornel program run headless: the built-in player plays whole games that end on legal
// scores; every handheld shows the intro, a rally and a point, and takes a turn of the screen;
// a second copy for the same player leaves at once while the first runs on.
#include "EndToEnd.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace vornel {
namespace {

// Each level from a settings file that chose it: the games end on legal scores, and the
// first one heads the high-score table with its level.
TEST_F(EndToEnd, TheBuiltInPlayerPlaysWholeGamesOnEasyAndOnHardThatEndOnLegalScores) {
    for (const uint8_t level : {0, 1}) {
        SCOPED_TRACE(level == 0 ? "Easy" : "Hard");
        fs::remove_all(file("save"));
        std::vector<uint8_t> settings(24, 0);
        settings[1] = level;
        writeSettings(settings);
        const pid_t game = start("pocketpc", "wait 3600000\n", {"--autoplay"}, 20);
        ASSERT_GT(game, 0);
        const bool ended = waitForGames(2, 100);
        ::kill(game, SIGTERM);  // closes its window
        EXPECT_EQ(exitStatus(game), 0);
        const auto scores = finalScores();
        ASSERT_TRUE(ended) << "fewer than two games ended; the program said:\n" << output();
        for (const auto& [player, opponent] : scores) {
            EXPECT_TRUE(isLegalFinalScore(player, opponent)) << player << ":" << opponent;
        }
        const std::vector<uint8_t> saved = readSettings();
        ASSERT_EQ(saved.size(), 24u);
        EXPECT_EQ(saved[1], level);
        const auto best = *std::max_element(scores.begin(), scores.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : a.second > b.second;
        });
        EXPECT_EQ(saved[5], best.first);  // place 1: the best result, player's points high
        EXPECT_EQ(saved[4], best.second);
        EXPECT_EQ(saved[6], level);
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
        bool moved = false;
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
            // The ball and the bats moved. Not only in the rally's shot: under ThreadSanitizer,
            // beside other tests, the game thread may draw no frame in those 1.2 seconds.
            moved = moved || differIn(intro, *shot, 0, 10, 100, 100);
        }
        EXPECT_TRUE(moved);
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
