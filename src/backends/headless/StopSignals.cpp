// The signal handler, its pipe and the thread that turns a signal into a request.
#include "backends/headless/StopSignals.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <thread>

namespace vornel {
namespace {

std::atomic<bool> g_seen{false};
std::atomic<int> g_pipeWrite{-1};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free descriptor");

extern "C" void onStopSignal(int signal) {
    if (g_seen.exchange(true)) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    const int saved = errno;
    const char byte = 1;
    const ssize_t written = ::write(g_pipeWrite.load(), &byte, 1);
    (void)written;
    errno = saved;
}

void awaitSignal(int pipeRead, const std::function<void()>& request) {
    char byte = 0;
    while (::read(pipeRead, &byte, 1) < 0 && errno == EINTR) {
    }
    request();
}

}  // namespace

void StopSignals::install(std::function<void()> request) {
    int ends[2] = {-1, -1};
    if (::pipe(ends) != 0) {
        std::perror("vornel: no stop signals");
        return;
    }
    g_pipeWrite.store(ends[1]);
    // Lives as long as the process: a signal may come at any moment of it.
    std::thread([pipeRead = ends[0], request = std::move(request)] { awaitSignal(pipeRead, request); }).detach();
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
}

}  // namespace vornel
