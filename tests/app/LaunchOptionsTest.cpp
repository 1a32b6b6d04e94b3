// The launcher's command line.
#include "app/LaunchOptions.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

struct Parsed {
    bool ok = false;
    LaunchOptions options;
    std::string error;
};

Parsed parse(std::vector<std::string> arguments) {
    Parsed parsed;
    parsed.ok = LaunchOptions::parse(arguments, parsed.options, parsed.error);
    return parsed;
}

TEST(LaunchOptionsTest, NoArgumentsGiveTheDefaults) {
    const Parsed parsed = parse({});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.options.device, "pocketpc");
    EXPECT_EQ(parsed.options.zoom, 0);
    EXPECT_EQ(parsed.options.speed, 0);  // not given: a window's 1, a headless run's no limit
    EXPECT_FALSE(parsed.options.seeded);
    EXPECT_FALSE(parsed.options.headless);
    EXPECT_FALSE(parsed.options.fullscreen);
    EXPECT_TRUE(parsed.options.script.empty());
}

TEST(LaunchOptionsTest, EveryOptionIsRead) {
    const Parsed parsed = parse({"--device", "qwerty", "--zoom", "3", "--fullscreen", "--headless", "--speed", "250",
                                 "--script", "a.txt", "--record-audio", "out.wav", "--data", "/d", "--save", "/s",
                                 "--autoplay", "--stats", "--seed", "4294967295"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const LaunchOptions& o = parsed.options;
    EXPECT_EQ(o.device, "qwerty");
    EXPECT_EQ(o.zoom, 3);
    EXPECT_TRUE(o.fullscreen);
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.speed, 250);
    EXPECT_EQ(o.script, "a.txt");
    EXPECT_EQ(o.recordAudio, "out.wav");
    EXPECT_EQ(o.dataFolder, "/d");
    EXPECT_EQ(o.saveFolder, "/s");
    EXPECT_TRUE(o.autoplay);
    EXPECT_TRUE(o.stats);
    EXPECT_TRUE(o.seeded);
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_FALSE(o.help);
    EXPECT_FALSE(o.version);
}

TEST(LaunchOptionsTest, AValueMayFollowAnEqualsSign) {
    const Parsed parsed = parse({"--device=smartphone", "--speed=1000"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.device, "smartphone");
    EXPECT_EQ(parsed.options.speed, 1000);
}

TEST(LaunchOptionsTest, HelpAndVersionAreReportedToTheLauncher) {
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_TRUE(parse({"--version"}).options.version);
    EXPECT_TRUE(parse({"--headless", "--help"}).options.help);
}

TEST(LaunchOptionsTest, NumbersOutsideTheirRangeAreRefused) {
    for (const auto& [option, value] : std::vector<std::pair<std::string, std::string>>{
             {"--zoom", "0"}, {"--zoom", "9"}, {"--zoom", "2x"}, {"--zoom", "-1"},
             {"--speed", "0"}, {"--speed", "1001"}, {"--speed", ""}, {"--speed", "99999999999"},
             {"--seed", "4294967296"}, {"--seed", "-1"}, {"--seed", "12345678901"}, {"--seed", "0x10"}}) {
        const Parsed parsed = parse({option, value});
        EXPECT_FALSE(parsed.ok) << option << " " << value;
        EXPECT_NE(parsed.error.find(option), std::string::npos) << parsed.error;
    }
    EXPECT_EQ(parse({"--zoom", "9"}).error, "--zoom must be a whole number from 1 to 8, not '9'");
}

TEST(LaunchOptionsTest, AnUnknownDeviceNamesTheKnownOnes) {
    const Parsed parsed = parse({"--device", "palm"});
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(parsed.error, "unknown device 'palm' (one of pocketpc, pocketpc-vga, smartphone, qwerty)");
}

TEST(LaunchOptionsTest, UnknownOptionsAndStrayArgumentsAreRefused) {
    EXPECT_EQ(parse({"--sound"}).error, "unknown option '--sound'");
    EXPECT_EQ(parse({"-x"}).error, "unknown option '-x'");
    EXPECT_EQ(parse({"game.bin"}).error, "unexpected argument 'game.bin'");
    EXPECT_EQ(parse({"--headless=yes"}).error, "--headless takes no value");
}

// A timedemo shows nothing, so it runs headless; one demo at a time. Real time is a window's.
TEST(LaunchOptionsTest, DemoOptionsGoOneAtATimeATimedemoIsHeadlessAndRealTimeNeedsAWindow) {
    const Parsed timed = parse({"--timedemo", "a.vdm"});
    EXPECT_TRUE(timed.options.headless);
    EXPECT_EQ(timed.options.demoToPlay(), "a.vdm");
    EXPECT_EQ(parse({"--play-demo=b.vdm"}).options.demoToPlay(), "b.vdm");
    EXPECT_FALSE(parse({"--play-demo", "b.vdm"}).options.headless);
    EXPECT_EQ(parse({"--record-demo", "a.vdm", "--timedemo", "b.vdm"}).error,
              "--record-demo, --play-demo and --timedemo go one at a time");
    EXPECT_TRUE(parse({"--real-time", "--play-demo", "b.vdm"}).options.realTime);
    EXPECT_EQ(parse({"--timedemo", "a.vdm", "--real-time"}).error,
              "--real-time is for a window (not --headless or --timedemo)");
    EXPECT_EQ(parse({"--timedemo", "a.vdm", "--record-audio", "a.wav"}).error,
              "--record-audio needs a run that plays its sound (a timedemo plays none; --headless --play-demo does)");
}

TEST(LaunchOptionsTest, AMissingValueIsRefused) {
    EXPECT_EQ(parse({"--script"}).error, "--script needs a value");
    EXPECT_EQ(parse({"--save="}).error, "--save needs a value");
    EXPECT_FALSE(parse({"--device"}).ok);
}

TEST(LaunchOptionsTest, AFailedParseLeavesTheOptionsAlone) {
    Parsed parsed;
    parsed.options.speed = 7;
    EXPECT_FALSE(LaunchOptions::parse({"--speed", "3", "--bad"}, parsed.options, parsed.error));
    EXPECT_EQ(parsed.options.speed, 7);
}

TEST(LaunchOptionsTest, UsageListsEveryOption) {
    const std::string usage = LaunchOptions::usage();
    for (const char* option : {"--device NAME", "--zoom N", "--fullscreen", "--headless", "--speed N", "--script FILE",
                               "--record-audio FILE", "--data DIR", "--save DIR", "--autoplay", "--stats", "--help", "--version"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace vornel
