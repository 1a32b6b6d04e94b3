// Running the program in a window on the dummy driver and reading its latency.
#include "PlayLatency.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "ProgramOutput.h"

extern char** environ;

namespace vornel::bench {
namespace {

namespace fs = std::filesystem;

// This process's environment with SDL's dummy video and sound drivers.
std::vector<std::string> dummyDriverEnvironment() {
    std::vector<std::string> variables = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        if (entry.rfind("SDL_VIDEODRIVER=", 0) != 0 && entry.rfind("SDL_AUDIODRIVER=", 0) != 0) {
            variables.push_back(entry);
        }
    }
    return variables;
}

bool readLatency(const std::string& output, LatencyResult& result) {
    const std::size_t figures = output.rfind("latency_ms_p50=");
    return figures != std::string::npos &&
           std::sscanf(output.c_str() + figures,
                       "latency_ms_p50=%lf latency_ms_p99=%lf latency_ms_max=%lf latency_events=%ld", &result.p50,
                       &result.p99, &result.max, &result.events) == 4;
}

std::string runIn(const fs::path& folder, const std::string& program, const std::string& dataFolder) {
    const std::string scriptFile = (folder / "latency.script").string();
    std::ofstream(scriptFile) << PlayLatency::script();
    std::vector<std::string> environment = dummyDriverEnvironment();
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    return ProgramOutput::of({program, "--real-time", "--no-replays", "--stats", "--script", scriptFile, "--save",
                              (folder / "save").string(), "--data", dataFolder},
                             envp.data());
}

}  // namespace

std::string PlayLatency::script() {
    // Each round serves (the bat walks into the ball hanging at the player's end), steers from
    // side to side during the rally and walks back: 16 key events in 1750 ms, their moments
    // spread over the game's 32 ms frame.
    const std::string sideways = "key down left\nwait 45\nkey up left\nwait 67\n"
                                 "key down right\nwait 45\nkey up right\nwait 53\n";
    std::string text = "wait 3500\nchar N\nwait 1500\n";
    for (int round = 0; round < kRounds; ++round) {
        text += "key down up\nwait 500\nkey up up\nwait 61\n" + sideways + sideways + sideways +
                "key down down\nwait 500\nkey up down\nwait 59\n";
    }
    return text + "wait 500\nquit\n";
}

bool PlayLatency::run(const std::string& program, const std::string& dataFolder, LatencyResult& result) {
    result = LatencyResult{};
    std::string pattern = (fs::temp_directory_path() / "vornel-latency-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::fprintf(stderr, "bench: cannot make a folder for the latency run\n");
        return false;
    }
    const std::string output = runIn(pattern, program, dataFolder);
    std::error_code ignored;
    fs::remove_all(pattern, ignored);
    if (!readLatency(output, result)) {
        result = LatencyResult{};
        std::fprintf(stderr, "bench: %s --real-time on the dummy driver printed no latency\n", program.c_str());
        return false;
    }
    return true;
}

}  // namespace vornel::bench
