// The vornel program run headless (or in a window on SDL's windowless driver) in a
// temporary folder: starting it on a script, its exit status and output, its screenshots
// and its settings file. Both keep virtual time, so a run is the same on any machine at any
// load, and as fast as it goes unless a speed limit is given.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
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

namespace fs = std::filesystem;

// A game ends as soon as a side has 11 points and a lead of two: at 11 against 9 or fewer,
// or, once both had 10, with a lead of exactly two; 99 is the cap.
inline bool isLegalFinalScore(int32_t player, int32_t opponent) {
    const int32_t high = std::max(player, opponent);
    const int32_t low = std::min(player, opponent);
    if (low < 0 || high > 99) {
        return false;
    }
    return (high == 11 && low <= 9) || (high > 11 && high - low == 2);
}

// What a demo's run said of it at the end.
struct Outcome {
    std::string frames;
    std::string checksum;
    std::string match;  // "yes", "no", or empty for a recording
};

class EndToEnd : public testing::Test {
protected:
    // The last "demo:" or "timedemo:" line of the program's output.
    Outcome outcome() const {
        static const std::regex line(
            R"(^(demo|timedemo): frames=(\d+) (seconds=[0-9.]+ fps=[0-9.]+ )?checksum=([0-9a-f]{8})( match=(yes|no)| recorded)$)");
        Outcome found;
        std::istringstream lines(output());
        std::smatch parts;
        for (std::string text; std::getline(lines, text);) {
            if (std::regex_match(text, parts, line)) {
                found = {parts[2], parts[4], parts[6]};
            }
        }
        return found;
    }

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vornel-e2e-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string file(const std::string& name) const { return (m_folder / name).string(); }

    // Starts the program headless on the script's lines, its standard output going to the
    // file "out.txt" and its error output to "err.txt"; speed, when not 0, is how many times
    // faster than real time device time may run at most (a run that must stay alive a while).
    pid_t start(const std::string& device, const std::string& script, const std::vector<std::string>& extra = {},
                int32_t speed = 0) {
        std::vector<std::string> arguments = {"--headless"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return launch(device, script, arguments, speed, environ);
    }
    // The same in an SDL window on SDL's windowless video driver, with the dummy sound
    // device: the script's input then reaches the game through SDL's event queue.
    pid_t startInWindow(const std::string& device, const std::string& script,
                        const std::vector<std::string>& extra = {}, int32_t speed = 0) {
        std::vector<std::string> environment = windowEnvironment();
        std::vector<char*> envp = pointersTo(environment);
        return launch(device, script, extra, speed, envp.data());
    }
    // This process's environment with SDL's windowless video driver and dummy sound device.
    static std::vector<std::string> windowEnvironment() {
        return environmentWith({"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"}, {"SDL_VIDEODRIVER=", "SDL_AUDIODRIVER="});
    }
    // This process's environment without the variables that start with one of the prefixes,
    // and with the settings given.
    static std::vector<std::string> environmentWith(std::vector<std::string> settings,
                                                    const std::vector<std::string>& dropped) {
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string entry = *variable;
            const bool drop = std::any_of(dropped.begin(), dropped.end(),
                                          [&entry](const std::string& prefix) { return entry.rfind(prefix, 0) == 0; });
            if (!drop) {
                settings.push_back(entry);
            }
        }
        return settings;
    }
    static std::vector<char*> pointersTo(std::vector<std::string>& strings) {
        std::vector<char*> pointers;
        for (std::string& text : strings) {
            pointers.push_back(text.data());
        }
        pointers.push_back(nullptr);
        return pointers;
    }
    pid_t launch(const std::string& device, const std::string& script, const std::vector<std::string>& extra,
                 int32_t speed, char** envp) {
        std::ofstream(file("script.txt")) << script;
        std::vector<std::string> arguments = {"--device", device, "--save", file("save"), "--script", file("script.txt")};
        if (speed != 0) {
            arguments.insert(arguments.end(), {"--speed", std::to_string(speed)});
        }
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return spawn(arguments, envp);
    }
    // The program on these arguments (and its data folder), its output going to "out.txt"
    // and "err.txt".
    pid_t spawn(std::vector<std::string> arguments, char** envp = environ) {
        arguments.insert(arguments.begin(), {VORNEL_PROGRAM, "--data", VORNEL_DATA});
        std::vector<char*> argv = pointersTo(arguments);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, file("out.txt").c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, file("err.txt").c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t child = -1;
        const int result = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp);
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
    int run(const std::string& device, const std::string& script, const std::vector<std::string>& extra = {},
            int32_t speed = 0) {
        return exitStatus(start(device, script, extra, speed));
    }
    std::string errors() const {
        std::ifstream in(file("err.txt"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
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

    // The settings file of the save folder: 24 bytes, or what there is of them.
    void writeSettings(const std::vector<uint8_t>& bytes) const {
        fs::create_directories(file("save"));
        std::ofstream out(file("save/vornel"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> readSettings() const {
        std::ifstream in(file("save/vornel"), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Waits (real time) until a run reports the state (a file it wrote, its size); false when
    // it gave up.
    template <typename State>
    static bool waitUntil(State reached, int32_t seconds = 60) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!reached() && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return reached();
    }
    bool waitForFile(const std::string& name, int32_t seconds = 60) const {
        return waitUntil([&] { return fs::exists(file(name)); }, seconds);
    }
    // Until the file holds at least that many bytes (a recording's whole frames).
    bool waitForBytes(const std::string& path, std::uintmax_t bytes) const {
        return waitUntil([&] {
            std::error_code failure;
            const std::uintmax_t size = fs::file_size(path, failure);
            return !failure && size >= bytes;
        });
    }
    // A picture's pixels in one number, for a picture known to the last pixel.
    static uint32_t checksumOf(const RgbaImage& image) {
        uint32_t checksum = 2166136261u;
        for (const uint32_t pixel : image.pixels()) {
            checksum = (checksum ^ RgbaImage::colour(pixel)) * 16777619u;
        }
        return checksum;
    }

    fs::path m_folder;
};

}  // namespace vornel
