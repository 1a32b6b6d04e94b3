// The launcher: exit statuses for the command line, the folders it resolves, and a whole
// headless run of an entry with a script.
#include "app/Launcher.h"

#include <gtest/gtest.h>

#include <fstream>

#include "DeviceTestSupport.h"
#include "platform/Platform.h"

namespace vornel {
namespace {

using testing_support::TemporaryFolder;

int runWith(std::vector<std::string> arguments, Launcher::ShellEntry entry) {
    arguments.insert(arguments.begin(), "vornel");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    return Launcher::run(static_cast<int>(argv.size()), argv.data(), entry);
}

int entryThatMustNotRun(Platform&, const RunConfig&) {
    ADD_FAILURE() << "the entry ran";
    return 99;
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

TEST(LaunchTest, VersionAndHelpPrintAndEndWithoutStartingTheGame) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(runWith({"--version"}, entryThatMustNotRun), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Vornel 1.01\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(runWith({"--help"}, entryThatMustNotRun), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), LaunchOptions::usage());
}

TEST(LaunchTest, ABadOptionIsOneLineAndTheUsageWithStatusTwo) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(runWith({"--zoom", "12"}, entryThatMustNotRun), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vornel: --zoom must be a whole number from 1 to 8, not '12'\n" + LaunchOptions::usage());
}

TEST(LaunchTest, AMalformedScriptIsReportedBeforeAnythingStarts) {
    TemporaryFolder folder("launch-script");
    std::ofstream(folder.file("bad.txt")) << "wait 10\npress kangaroo\n";
    testing::internal::CaptureStderr();
    EXPECT_EQ(runWith({"--headless", "--script", folder.file("bad.txt")}, entryThatMustNotRun), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "script " + folder.file("bad.txt") + ":2: unknown key 'kangaroo'\n");
}

TEST(LaunchTest, AHandheldWithoutAPenRefusesAScriptThatTaps) {
    TemporaryFolder folder("launch-pen");
    std::ofstream(folder.file("taps.txt")) << "wait 10\n\ntap 1 1\n";
    testing::internal::CaptureStderr();
    EXPECT_EQ(runWith({"--headless", "--device", "smartphone", "--script", folder.file("taps.txt")}, entryThatMustNotRun), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "script " + folder.file("taps.txt") + ":3: the smartphone has no pen\n");
}

TEST(LaunchTest, AMissingDataFolderIsABadValue) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(runWith({"--headless", "--data", "/nonexistent/vornel"}, entryThatMustNotRun), 2);
    EXPECT_EQ(firstLine(testing::internal::GetCapturedStderr()), "vornel: --data: no folder /nonexistent/vornel");
}

// One line and status 2: the data folder however it is spelled, or a file.
TEST(LaunchTest, ASaveFolderThatCannotBeUsedIsRefusedWithStatusTwo) {
    TemporaryFolder folder("launch-save");
    const std::string data = folder.path();
    std::filesystem::create_directory_symlink(data, data + "/link");
    std::ofstream(data + "/file") << "not a folder";
    const std::string own = " is the game's own folder (the program and its data); choose another folder\n";
    for (const auto& [spelling, said] : std::vector<std::pair<std::string, std::string>>{
             {data + "/.", data + own}, {data + "/link", data + "/link" + own},
             {data + "/file", data + "/file is a file, not a folder; choose another folder\n"}}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(runWith({"--headless", "--data", data, "--save", spelling}, entryThatMustNotRun), 2);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "vornel: --save: " + said);
    }
}

TEST(LaunchTest, TheSaveFolderComesFromTheOptionThenXdgThenHome) {
    LaunchOptions options;
    EXPECT_EQ(Launcher::resolveSaveFolder(options, "/xdg", "/home/p"), "/xdg/vornel");
    EXPECT_EQ(Launcher::resolveSaveFolder(options, "relative", "/home/p/"), "/home/p/.local/share/vornel");
    EXPECT_EQ(Launcher::resolveSaveFolder(options, nullptr, "/home/p"), "/home/p/.local/share/vornel");
    EXPECT_EQ(Launcher::resolveSaveFolder(options, nullptr, nullptr), "");
    options.saveFolder = "/saves/alice/";
    EXPECT_EQ(Launcher::resolveSaveFolder(options, "/xdg", "/home/p"), "/saves/alice");
}

TEST(LaunchTest, TheProgramFolderIsTheExecutablesUnlessGiven) {
    LaunchOptions options;
    std::string error;
    const std::string folder = Launcher::resolveProgramFolder(options, error);
    EXPECT_EQ(folder, std::filesystem::read_symlink("/proc/self/exe").parent_path().string());
    options.dataFolder = "/tmp/";
    EXPECT_EQ(Launcher::resolveProgramFolder(options, error), "/tmp");
}

// A tiny shell: one window, its loop, Destroy posts quit code 3.
class TinyClient final : public WindowClient {
public:
    explicit TinyClient(Platform& platform) : platform(platform) {}
    int32_t windowMessage(const WindowMessage& message) override {
        if (message.type == MessageType::Destroy) {
            platform.postQuitMessage(3);
        } else if (message.type == MessageType::Paint) {
            platform.beginPaint();
            platform.endPaint();
        }
        return 0;
    }

private:
    Platform& platform;
};

// What the entry was given, seen from inside the run.
struct Seen {
    std::string modulePath;
    RunConfig config;
    bool clockIsTheDevices = false;
};
Seen g_seen;

int tinyEntry(Platform& platform, const RunConfig& config) {
    g_seen = {platform.modulePath(), config, config.clock == &platform.clock()};
    static TinyClient client(platform);
    if (platform.findRunningCopy() || !platform.createWindow("Vornel", client)) {
        return 0;
    }
    platform.showWindow();
    WindowMessage message;
    while (platform.getMessage(message)) {
        platform.dispatchMessage(message);
    }
    return platform.quitCode();
}

TEST(LaunchTest, AHeadlessRunPlaysItsScriptAndReturnsTheEntrysStatus) {
    TemporaryFolder folder("launch-run");
    std::ofstream(folder.file("run.txt")) << "wait 1000\npress enter\n";  // ends without quit
    const int status = runWith({"--headless", "--speed", "100", "--data", folder.path(), "--save",
                                folder.file("saves"), "--script", folder.file("run.txt"), "--record-audio",
                                folder.file("run.wav")},
                               tinyEntry);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(g_seen.modulePath, folder.path() + "/vornel");
    EXPECT_EQ(g_seen.config.saveFolder, folder.file("saves") + "/");
    EXPECT_EQ(g_seen.config.demo, nullptr);
    EXPECT_FALSE(g_seen.config.autoplay);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("saves")));
    EXPECT_TRUE(g_seen.clockIsTheDevices);
    // Silent all along, the recording still lasts as long as the run: the wait and the press.
    EXPECT_EQ(std::filesystem::file_size(folder.file("run.wav")), 44u + 2u * 8u * 1040u);
}

}  // namespace
}  // namespace vornel
