// A headless run is a pure function of its data, settings file, device, options and script:
// run alone as fast as it goes, at twenty times real speed beside two busy processes, and at
// real speed, one script gives the same output (but for the figures that measure the machine),
// the same settings file, screenshots, recorded sound and frames' checksum, byte for byte.
#include "EndToEnd.h"

#include <gtest/gtest.h>

#include <csignal>
#include <regex>

namespace vornel {
namespace {

struct Outcome {
    std::string output;
    std::string errors;
    std::vector<uint8_t> settings;
    std::vector<std::string> files;  // the screenshots and the recorded sound, whole

    bool operator==(const Outcome&) const = default;
};

class DeterminismTest : public EndToEnd {
protected:
    // A game left at 3:2, resumed, played by the built-in player with the sound on.
    Outcome runOnce(int32_t speed) {
        fs::remove_all(file("save"));
        std::vector<uint8_t> settings(24, 0);
        settings[2] = 2;
        settings[3] = 3;
        writeSettings(settings);
        const std::string script = "wait 3500\npress enter\nwait 1000\nscreenshot " + file("first.png") +
                                   "\nwait 1500\nscreenshot " + file("second.png") + "\nquit\n";
        EXPECT_EQ(run("smartphone", script, {"--autoplay", "--stats", "--record-audio", file("sound.wav")}, speed), 0);
        return {withoutMachineFigures(output()), errors(), readSettings(),
                {contentsOf("first.png"), contentsOf("second.png"), contentsOf("sound.wav")}};
    }
    std::string contentsOf(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string withoutMachineFigures(const std::string& text) {
        static const std::regex figures(R"((cpu_us_per_frame|max_rss_kb)=\d+)");
        return std::regex_replace(text, figures, "$1=*");
    }
    // A process that keeps a processor busy until it is killed.
    static pid_t busyLoop() {
        std::vector<std::string> arguments = {"/bin/sh", "-c", "while :; do :; done"};
        std::vector<char*> argv = pointersTo(arguments);
        pid_t child = -1;
        return ::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? child : -1;
    }
};

TEST_F(DeterminismTest, OneScriptGivesTheSameRunAloneBesideBusyProcessesAndAtRealSpeed) {
    const Outcome alone = runOnce(0);
    EXPECT_NE(alone.output.find("checksum="), std::string::npos) << alone.output;
    EXPECT_GT(alone.files[2].size(), 44u + 2 * 8000 * 6);  // six seconds of sound

    const pid_t busy[] = {busyLoop(), busyLoop()};
    const Outcome loaded = runOnce(20);
    for (const pid_t child : busy) {
        ::kill(child, SIGKILL);
        exitStatus(child);
    }
    EXPECT_TRUE(loaded == alone) << loaded.output << "\n" << loaded.errors;

    const Outcome realTime = runOnce(1);
    EXPECT_TRUE(realTime == alone) << realTime.output << "\n" << realTime.errors;
}

}  // namespace
}  // namespace vornel
