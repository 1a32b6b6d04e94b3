// Replays through the program: a game played in a window is kept and plays back as it was
// played; the shelf keeps the sessions of the last 20 games; a killed session's replay plays
// to its last frame; damaged files and a shelf that cannot be written cost nothing else; and
// the viewer's pause, steps and seeks land on exactly the frames a straight playback shows,
// its keys never reaching the game. Windows are SDL's windowless driver, on virtual time, at
// zoom 1 (the software renderer's scaling would take most of the time).
#include "EndToEnd.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vornel {
namespace {

class ReplayTest : public EndToEnd {
protected:
    // The --replays list of the test's save folder, a line each.
    std::vector<std::string> listed() {
        EXPECT_EQ(exitStatus(spawn({"--save", file("save"), "--replays"})), 0) << errors();
        std::vector<std::string> lines;
        std::istringstream text(output());
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    std::vector<std::string> shelfFiles() const {
        std::vector<std::string> names;
        std::error_code failure;
        for (const auto& entry : fs::directory_iterator(file("save/replays"), failure)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // Watches the replay (or demo) in a window on the script; answers the exit status.
    int watch(const std::string& which, const std::string& script) {
        std::ofstream(file("viewer.txt")) << script;
        std::vector<std::string> environment = windowEnvironment();
        std::vector<char*> envp = pointersTo(environment);
        return exitStatus(
            spawn({"--zoom", "1", "--save", file("save"), "--play-demo", which, "--script", file("viewer.txt")}, envp.data()));
    }
    static std::string repeated(const std::string& line, int32_t times) {
        std::string text;
        for (int32_t i = 0; i < times; ++i) {
            text += line;
        }
        return text;
    }
};

const std::string kHardGame = std::string(VORNEL_GOLDEN_DEMOS) + "/hard-game.vdm";

// Two minutes of the built-in player kept headless (a game won 11:0, then one left at the
// end), then a game in a window, left when the window closed.
TEST_F(ReplayTest, AGameInAWindowIsKeptListedAndPlaysBackAsPlayed) {
    ASSERT_EQ(exitStatus(start("pocketpc", "wait 120000\nquit\n", {"--autoplay", "--keep-replay"})), 0) << errors();
    ASSERT_EQ(exitStatus(startInWindow("pocketpc", "wait 12000\nquit\n", {"--autoplay", "--zoom", "1"})), 0) << errors();
    EXPECT_EQ(output().find("demo:"), std::string::npos) << "a replay is kept quietly";
    ASSERT_EQ(shelfFiles().size(), 2u);
    const std::vector<std::string> lines = listed();
    ASSERT_EQ(lines.size(), 3u) << output();
    EXPECT_NE(lines[0].find("  1  "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("pocketpc    Easy  11:0 "), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("Easy  left at "), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("Easy  left at "), std::string::npos) << lines[2];

    ASSERT_EQ(exitStatus(spawn({"--save", file("save"), "--timedemo", "last"})), 0) << errors();
    EXPECT_EQ(outcome().match, "yes") << errors();
    const std::string frames = outcome().frames;
    // Watched in the viewer from the start of its game (the frames before played flat out)
    // to the end of the session.
    ASSERT_EQ(watch("last", "wait 600000\nquit\n"), 0) << errors();
    EXPECT_EQ(outcome().match, "yes") << errors();
    EXPECT_EQ(outcome().frames, frames);
    EXPECT_EQ(watch("4", "quit\n"), 2);
    EXPECT_NE(errors().find("no replay 4 (the list has 1 to 3)"), std::string::npos) << errors();
}

// Each session is a short game of the built-in player; the oldest goes once 20 are kept.
TEST_F(ReplayTest, TheShelfKeepsTheSessionsOfTheLast20Games) {
    std::string oldest;
    for (int32_t session = 1; session <= 21; ++session) {
        ASSERT_EQ(exitStatus(start("pocketpc", "wait 5000\nquit\n", {"--autoplay", "--keep-replay"})), 0) << errors();
        if (session == 1) {
            ASSERT_EQ(shelfFiles().size(), 1u) << "the session's game is kept";
            oldest = shelfFiles().front();
        }
    }
    const std::vector<std::string> files = shelfFiles();
    EXPECT_EQ(files.size(), 20u);
    EXPECT_EQ(std::count(files.begin(), files.end(), oldest), 0);
    EXPECT_EQ(listed().size(), 20u);

    // Without --keep-replay a headless run keeps none; --no-replays keeps none in a window.
    ASSERT_EQ(exitStatus(start("pocketpc", "wait 8000\nquit\n", {"--autoplay"})), 0);
    ASSERT_EQ(exitStatus(startInWindow("pocketpc", "wait 8000\nquit\n", {"--autoplay", "--no-replays", "--zoom", "1"})), 0);
    EXPECT_EQ(shelfFiles(), files);
}

// A replay is the session's own loss alone: a damaged file beside it is listed and refused,
// never played or removed; a shelf that cannot be made is said once, and the game and its
// settings go on; a killed session's replay plays up to its last whole frame.
TEST_F(ReplayTest, DamagedKilledAndUnwritableReplaysCostNothingElse) {
    fs::create_directories(file("save/replays"));
    std::ofstream(file("save/replays/20000101-000000-00.vdm")) << "RIFF....WAVEfmt ";
    ASSERT_EQ(exitStatus(start("pocketpc", "wait 8000\nquit\n", {"--autoplay", "--keep-replay"})), 0) << errors();
    std::vector<std::string> lines = listed();
    ASSERT_EQ(lines.size(), 2u) << output();
    EXPECT_NE(lines[0].find("  1  damaged: "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("not a demo file"), std::string::npos) << lines[0];
    EXPECT_EQ(watch("1", "quit\n"), 2);
    EXPECT_NE(errors().find("replay 1 is damaged"), std::string::npos) << errors();
    ASSERT_EQ(exitStatus(spawn({"--save", file("save"), "--timedemo", "2"})), 0) << errors();
    EXPECT_EQ(outcome().match, "yes") << errors();

    // Killed once it has written some 90 frames, at the pace of real time.
    const pid_t killed = start("pocketpc", "wait 3600000\n", {"--autoplay", "--keep-replay"}, 1);
    ASSERT_TRUE(waitUntil([&] { return shelfFiles().size() == 3; }));
    waitForBytes(file("save/replays/" + shelfFiles().back()), 2000);
    ::kill(killed, SIGKILL);
    exitStatus(killed);
    ASSERT_EQ(exitStatus(spawn({"--save", file("save"), "--timedemo", "last"})), 0) << errors();
    EXPECT_GT(std::stoi("0" + outcome().frames), 10) << output();
    EXPECT_EQ(outcome().match, "no");
    EXPECT_NE(errors().find("cut short"), std::string::npos) << errors();

    fs::remove_all(file("save/replays"));
    std::ofstream(file("save/replays")) << "a file where the folder would be";
    ASSERT_EQ(exitStatus(startInWindow("pocketpc", "wait 30000\nquit\n", {"--autoplay", "--zoom", "1"})), 0);
    EXPECT_EQ(errors(), "vornel: no replay is kept of this session: cannot make the folder " + file("save/replays") +
                            " for replays\n");
    EXPECT_EQ(readSettings().size(), 24u) << "the game saved its settings";
}

// Paused, the picture and the frame count stand still; a seek back and forth lands on the
// frame that stepping one frame at a time from the start shows, to the last pixel.
TEST_F(ReplayTest, TheViewerPausesStepsAndSeeksToTheFramesAStraightPlaybackShows) {
    const std::string pause = "wait 2000\npress space\nwait 500\nscreenshot " + file("paused-a.png") + "\n";
    ASSERT_EQ(watch(kHardGame, pause + "wait 3000\nscreenshot " + file("paused-b.png") + "\nquit\n"), 0) << errors();
    const std::string pausedAt = outcome().frames;
    ASSERT_EQ(watch(kHardGame, pause + "quit\n"), 0) << errors();
    EXPECT_EQ(outcome().frames, pausedAt);
    EXPECT_EQ(checksumOf(picture("paused-a.png")), checksumOf(picture("paused-b.png")));

    const std::string seek = "press right\nwait 500\npress right\nwait 500\npress left\nwait 500\n";
    ASSERT_EQ(watch(kHardGame, pause + seek + "screenshot " + file("sought.png") + "\nquit\n"), 0) << errors();
    const int32_t frame = std::stoi("0" + outcome().frames);
    EXPECT_GT(frame, std::stoi(pausedAt) + 100) << "5 seconds on twice and back once";

    const std::string fromTheStart = pause + "press home\nwait 500\n" + repeated("press period\nwait 60\n", frame - 1);
    ASSERT_EQ(watch(kHardGame, fromTheStart + "screenshot " + file("stepped.png") + "\nquit\n"), 0) << errors();
    EXPECT_EQ(std::stoi("0" + outcome().frames), frame);
    EXPECT_EQ(checksumOf(picture("stepped.png")), checksumOf(picture("sought.png")));
}

// Every viewer key, and keys of the game among them, while the demo plays to its end: the
// frames are the recording's, so the game read none of them.
TEST_F(ReplayTest, TheViewersKeysNeverReachTheGame) {
    const std::string keys = "wait 1500\npress space\npress period\npress space\npress rightbracket\nwait 500\n"
                             "press leftbracket\npress leftbracket\nwait 500\npress rightbracket\nchar N\npress enter\n"
                             "press home\nwait 300\npress right\npress left\ntap 120 200\npress escape\n";
    ASSERT_EQ(watch(std::string(VORNEL_GOLDEN_DEMOS) + "/pen.vdm", keys + "wait 600000\nquit\n"), 0) << errors();
    EXPECT_EQ(outcome().match, "yes") << errors();
    EXPECT_EQ(outcome().frames, "466");
}

}  // namespace
}  // namespace vornel
