// The vornel program run headless: the built-in player plays whole games that end on known,
// legal scores; every handheld shows the intro, a rally and a point, and takes a turn of the
// screen; a second copy for the same player leaves at once while the first runs on.
#include "EndToEnd.h"

#include <gtest/gtest.h>

#include <csignal>

namespace vornel {
namespace {

// Each level from a settings file that chose it, five minutes of device time with the random
// source seeded: on virtual time the same games every run. They end on legal scores, the
// first one heads the high-score table with its level, and the game in progress is saved.
TEST_F(EndToEnd, TheBuiltInPlayerPlaysWholeGamesOnEasyAndOnHardThatEndOnLegalScores) {
    struct Case {
        uint8_t level;
        std::size_t games;
        uint8_t pointsInProgress;  // the player's; the opponent has none
    };
    for (const Case& level : {Case{0, 3, 1}, Case{1, 2, 5}}) {
        SCOPED_TRACE(level.level == 0 ? "Easy" : "Hard");
        fs::remove_all(file("save"));
        std::vector<uint8_t> settings(24, 0);
        settings[1] = level.level;
        writeSettings(settings);
        ASSERT_EQ(run("pocketpc", "wait 300000\nquit\n", {"--autoplay", "--seed", "7"}), 0) << errors();
        const auto scores = finalScores();
        EXPECT_EQ(scores, (std::vector<std::pair<int32_t, int32_t>>(level.games, {11, 0}))) << output();
        for (const auto& [player, opponent] : scores) {
            EXPECT_TRUE(isLegalFinalScore(player, opponent)) << player << ":" << opponent;
        }
        const std::vector<uint8_t> saved = readSettings();
        ASSERT_EQ(saved.size(), 24u);
        EXPECT_EQ(saved[1], level.level);
        EXPECT_EQ(saved[2], 0);
        EXPECT_EQ(saved[3], level.pointsInProgress);
        EXPECT_EQ(saved[5], 11);  // place 1: the best result, player's points high
        EXPECT_EQ(saved[4], 0);
        EXPECT_EQ(saved[6], level.level);
    }
}

// The intro and the main menu, which the built-in player leaves for a new game, are over after
// some four seconds; a rally is under way a second later, and twelve seconds on a point has
// been won. The screen then turns. Each picture is known to the last pixel.
TEST_F(EndToEnd, EveryHandheldShowsTheIntroARallyAndAPointAndTakesATurn) {
    struct Case {
        const char* device;
        int32_t width, height;
        uint32_t pointPicture;
    };
    const std::string script = "wait 5000\nscreenshot " + file("intro.png") + "\nwait 1200\nscreenshot " +
                               file("rally.png") + "\nwait 12000\nscreenshot " + file("point.png") +
                               "\nrotate\nwait 1000\nscreenshot " + file("turned.png") + "\nquit\n";
    for (const Case& device : {Case{"pocketpc", 240, 320, 3451276958u},
                               Case{"pocketpc-vga", 480, 640, 188192545u}, Case{"smartphone", 176, 220, 3495051546u},
                               Case{"qwerty", 320, 240, 1539453725u}}) {
        SCOPED_TRACE(device.device);
        ASSERT_EQ(run(device.device, script, {"--autoplay"}), 0) << errors();
        const RgbaImage intro = picture("intro.png");
        const RgbaImage rally = picture("rally.png");
        const RgbaImage point = picture("point.png");
        for (const RgbaImage* shot : {&intro, &rally, &point}) {
            ASSERT_EQ(shot->width(), device.width);
            ASSERT_EQ(shot->height(), device.height);
            EXPECT_FALSE(isBlank(*shot));
        }
        EXPECT_TRUE(differIn(intro, rally, 0, 10, 100, 100));  // the ball and the bats moved
        EXPECT_FALSE(differIn(intro, rally, 0, 0, 20, 8) || differIn(intro, rally, 80, 0, 100, 8));
        // A score and its marker in one of the top corners changed.
        EXPECT_TRUE(differIn(intro, point, 0, 0, 20, 8) || differIn(intro, point, 80, 0, 100, 8));
        EXPECT_EQ(checksumOf(point), device.pointPicture);
        const RgbaImage turned = picture("turned.png");
        EXPECT_EQ(turned.width(), device.height);  // the sides swap
        EXPECT_EQ(turned.height(), device.width);
        EXPECT_FALSE(isBlank(turned));
    }
}

// The first copy keeps to real time, so that it is still there when the second starts.
TEST_F(EndToEnd, SecondCopyForTheSamePlayerLeavesWhileTheFirstRuns) {
    const pid_t first = start("pocketpc", "screenshot " + file("first.png") + "\nwait 600000\n", {}, 1);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitForFile("first.png"));
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
