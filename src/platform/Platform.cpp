// The process's platform.
#include "platform/Platform.h"

#include <atomic>
#include <cassert>

namespace vornel {
namespace {

std::atomic<Platform*> g_platform{nullptr};

}  // namespace

Platform& Platform::current() {
    Platform* platform = g_platform.load(std::memory_order_acquire);
    assert(platform != nullptr && "the launcher sets the platform before the entry runs");
    return *platform;
}

void Platform::setCurrent(Platform* platform) {
    g_platform.store(platform, std::memory_order_release);
}

}  // namespace vornel
