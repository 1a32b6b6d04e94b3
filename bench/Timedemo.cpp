// Running the program's timedemo and reading its line.
#include "Timedemo.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

extern char** environ;

namespace vornel::bench {
namespace {

// The program's standard output, through a pipe; empty when it could not run or failed.
std::string outputOf(std::vector<std::string> arguments) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return "";
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t child = -1;
    const bool started = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t got; started && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (!started || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "";
    }
    return output;
}

}  // namespace

bool Timedemo::run(const std::string& program, const std::string& demo, const std::string& dataFolder, int runs,
                   TimedemoResult& result) {
    result = TimedemoResult{std::filesystem::path(demo).stem().string(), 0, -1, true};
    std::vector<double> rates;
    for (int i = 0; i < runs; ++i) {
        const std::string output = outputOf({program, "--timedemo", demo, "--data", dataFolder});
        const std::size_t line = output.rfind("timedemo: ");
        double seconds = 0;
        double fps = 0;
        char match[4] = {};
        if (line == std::string::npos ||
            std::sscanf(output.c_str() + line, "timedemo: frames=%ld seconds=%lf fps=%lf checksum=%*x match=%3s",
                        &result.frames, &seconds, &fps, match) != 4) {
            std::fprintf(stderr, "bench: %s --timedemo %s printed no timedemo line\n", program.c_str(), demo.c_str());
            return false;
        }
        rates.push_back(fps);
        result.matched = result.matched && std::string(match) == "yes";
    }
    std::sort(rates.begin(), rates.end());
    result.fps = rates.empty() ? -1 : rates[rates.size() / 2];
    return true;
}

}  // namespace vornel::bench
