// Demos run through the program: the golden demos play back exactly as recorded; a demo
// plays back the same at any speed, flat out, and when it was recorded from a window's real
// events; a playback leaves the player's settings alone; and a closed window, a killed
// recording and a foreign file each end as they should.
#include "EndToEnd.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace vornel {
namespace {

class DemoTest : public EndToEnd {
protected:
    int play(const std::string& demo, const std::vector<std::string>& how) {
        std::vector<std::string> arguments = how;
        arguments.push_back(demo);
        return exitStatus(spawn(arguments));
    }
    // Records the script on the device headless; answers the outcome.
    Outcome record(const std::string& device, const std::string& script) {
        EXPECT_EQ(run(device, script, {"--record-demo", file("session.vdm")}), 0) << errors();
        return outcome();
    }
};

// Device time from the start until the main menu has faded in over the table.
constexpr const char* kMenuShown = "wait 3500\n";

TEST_F(DemoTest, EveryGoldenDemoPlaysBackFrameForFrameAsRecorded) {
    std::ifstream list(std::string(VORNEL_GOLDEN_DEMOS) + "/golden.txt");
    int32_t demos = 0;
    for (std::string name, device, frames, checksum; list >> name >> device >> frames >> checksum; ++demos) {
        SCOPED_TRACE(name);
        ASSERT_EQ(play(std::string(VORNEL_GOLDEN_DEMOS) + "/" + name + ".vdm", {"--timedemo"}), 0) << errors();
        const Outcome played = outcome();
        EXPECT_EQ(played.frames, frames) << output();
        EXPECT_EQ(played.checksum, checksum);
        EXPECT_EQ(played.match, "yes") << errors();
    }
    EXPECT_EQ(demos, 5);
    // A demo of the first format (a kept replay's, say) is still checked by its whole frames.
    ASSERT_EQ(play(std::string(VORNEL_GOLDEN_DEMOS) + "/format-1/pen.vdm", {"--timedemo"}), 0) << errors();
    EXPECT_EQ(outcome().frames, "434");
    EXPECT_EQ(outcome().checksum, "75ad9b83");
    EXPECT_EQ(outcome().match, "yes") << errors();
}

// Recorded as fast as it goes, played at 1 and at 200 times real speed and flat out: the same
// frames, and at real speed as long as the recording took in device time (its pace is in its
// tick reads). The player's settings file is the recording's and stays as it was through every
// playback.
TEST_F(DemoTest, ADemoPlaysBackTheSameAtAnySpeedAndLeavesThePlayersSettingsAlone) {
    std::vector<uint8_t> settings(24, 0);
    settings[1] = 1;  // Hard
    writeSettings(settings);
    const std::string script = std::string(kMenuShown) +
                               "char N\nwait 1500\nkey down left\nwait 500\nkey up left\nwait 1000\nquit\n";
    const Outcome recorded = record("smartphone", script);
    ASSERT_FALSE(recorded.checksum.empty()) << output();
    const std::vector<uint8_t> saved = readSettings();
    for (const auto& how : std::vector<std::vector<std::string>>{
             {"--headless", "--speed", "1", "--play-demo"}, {"--headless", "--speed", "200", "--play-demo"},
             {"--timedemo"}}) {
        SCOPED_TRACE(how[how.size() - 1] + " " + (how.size() > 2 ? how[2] : ""));
        const auto started = std::chrono::steady_clock::now();
        ASSERT_EQ(play(file("session.vdm"), how), 0) << errors();
        if (how.size() > 2 && how[2] == "1") {  // the script's 6.5 s of device time, as recorded
            EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(6000));
        }
        const Outcome played = outcome();
        EXPECT_EQ(played.frames, recorded.frames);
        EXPECT_EQ(played.checksum, recorded.checksum);
        EXPECT_EQ(played.match, "yes") << errors();
        EXPECT_EQ(readSettings(), saved);
    }
}

// The keys reach the recording game through SDL's own event queue, as a person's do.
TEST_F(DemoTest, ADemoRecordedInAWindowPlaysBackHeadless) {
    const std::string script = std::string(kMenuShown) + "char N\nwait 1000\nkey down right\nwait 600\nkey up right\n" +
                               "press escape\nwait 1000\nchar R\nwait 1000\nquit\n";
    ASSERT_EQ(exitStatus(startInWindow("pocketpc", script, {"--record-demo", file("window.vdm")})), 0) << errors();
    const Outcome recorded = outcome();
    ASSERT_FALSE(recorded.checksum.empty()) << output();
    ASSERT_EQ(play(file("window.vdm"), {"--timedemo"}), 0) << errors();
    EXPECT_EQ(outcome().checksum, recorded.checksum);
    EXPECT_EQ(outcome().match, "yes") << errors();
}

// A window on a display keeps real time: a demo recorded on virtual time plays back there at
// its recorded pace, frame for frame. The display is an X server of the test's own (Xvfb),
// which tells the number it took through a pipe once it is ready.
TEST_F(DemoTest, ADemoRecordedOnVirtualTimePlaysBackInARealWindowAtItsPace) {
    const Outcome recorded = record("pocketpc", std::string(kMenuShown) + "char N\nwait 500\nquit\n");
    ASSERT_FALSE(recorded.checksum.empty()) << output();
    int ready[2] = {-1, -1};
    ASSERT_EQ(::pipe(ready), 0);
    std::vector<std::string> server = {"/usr/bin/Xvfb", "-displayfd", std::to_string(ready[1]), "-nolisten", "tcp",
                                       "-screen", "0", "800x600x24"};
    std::vector<char*> serverArgv = pointersTo(server);
    pid_t xvfb = -1;
    ASSERT_EQ(::posix_spawn(&xvfb, serverArgv[0], nullptr, nullptr, serverArgv.data(), environ), 0)
        << "no Xvfb (scripts/install-deps.sh installs it)";
    ::close(ready[1]);
    char number[16] = {};
    const ssize_t got = ::read(ready[0], number, sizeof number - 1);
    ::close(ready[0]);
    ASSERT_GT(got, 0) << "Xvfb did not start";

    // SDL's software renderer and window surface, not the graphics driver's threads; a sanitized
    // build's leak check leaves alone what the X11 video's system libraries keep.
    std::vector<std::string> environment = environmentWith(
        {"DISPLAY=:" + std::string(number, std::strcspn(number, "\n")), "SDL_AUDIODRIVER=dummy",
         "SDL_RENDER_DRIVER=software", "SDL_FRAMEBUFFER_ACCELERATION=0",
         std::string("LSAN_OPTIONS=suppressions=") + VORNEL_SYSTEM_LEAKS},
        {"DISPLAY=", "SDL_", "LSAN_OPTIONS="});
    std::vector<char*> envp = pointersTo(environment);
    const auto started = std::chrono::steady_clock::now();
    const int status = exitStatus(spawn({"--play-demo", file("session.vdm")}, envp.data()));
    const auto took = std::chrono::steady_clock::now() - started;
    ::kill(xvfb, SIGTERM);
    exitStatus(xvfb);
    ASSERT_EQ(status, 0) << errors();
    EXPECT_EQ(outcome().frames, recorded.frames);
    EXPECT_EQ(outcome().checksum, recorded.checksum);
    EXPECT_EQ(outcome().match, "yes") << errors();
    EXPECT_GE(took, std::chrono::milliseconds(4000));  // the recording's four seconds of device time
}

// A viewer who closes the window ends the playback there, in the frame the moment gives; a
// recording killed outright plays up to its last whole frame; a file that is no demo is refused
// with one line.
TEST_F(DemoTest, AClosedWindowAKilledRecordingAndAForeignFileEachEndCleanly) {
    std::vector<std::string> environment = windowEnvironment();
    std::vector<char*> envp = pointersTo(environment);
    std::ofstream(file("close.txt")) << "wait 20000\nquit\n";  // as the window's close button
    const pid_t watching = spawn({"--play-demo", std::string(VORNEL_GOLDEN_DEMOS) + "/easy-game.vdm", "--script",
                                  file("close.txt")},
                                 envp.data());
    EXPECT_EQ(exitStatus(watching), 0);
    EXPECT_EQ(outcome().match, "no");
    EXPECT_NE(errors().find("the window was closed in frame 618\n"), std::string::npos) << errors();

    // Killed once it has written some 90 frames.
    const pid_t recording =
        start("pocketpc", "wait 3600000\n", {"--autoplay", "--record-demo", file("killed.vdm")}, 1);
    waitForBytes(file("killed.vdm"), 2000);
    ::kill(recording, SIGKILL);
    exitStatus(recording);
    ASSERT_EQ(play(file("killed.vdm"), {"--timedemo"}), 0) << errors();
    EXPECT_GT(std::stoi("0" + outcome().frames), 10) << output();
    EXPECT_EQ(outcome().match, "no");
    EXPECT_NE(errors().find("cut short"), std::string::npos) << errors();

    std::ofstream(file("foreign.vdm")) << "RIFF....WAVEfmt ";
    EXPECT_EQ(play(file("foreign.vdm"), {"--timedemo"}), 2);
    EXPECT_EQ(errors(), "vornel: " + file("foreign.vdm") + ": not a demo file\n");
}

}  // namespace
}  // namespace vornel
