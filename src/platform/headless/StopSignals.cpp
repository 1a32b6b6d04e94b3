// The stop request set by the signal handler and polled by the window's thread.
#include "platform/headless/StopSignals.h"

#include <atomic>
#include <csignal>

namespace vornel {
namespace {

std::atomic<bool> g_requested{false};
std::atomic<bool> g_seen{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void onStopSignal(int signal) {
    if (g_seen.exchange(true)) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_requested.store(true);
}

}  // namespace

void StopSignals::install() {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
}

bool StopSignals::takeRequest() {
    return g_requested.exchange(false);
}

}  // namespace vornel
