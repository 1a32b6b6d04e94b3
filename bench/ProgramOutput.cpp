// Running a program through a pipe.
#include "ProgramOutput.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vornel::bench {

std::string ProgramOutput::of(std::vector<std::string> arguments, char** environment) {
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
    char** const envp = environment != nullptr ? environment : environ;
    const bool started = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp) == 0;
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

}  // namespace vornel::bench
