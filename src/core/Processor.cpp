#include "core/Processor.h"

#include <atomic>

namespace vornel {
namespace {

std::atomic<bool> avx2Allowed{true};

bool supportsAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    // gcc's and clang's check looks at the system's saved register state as well.
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

}  // namespace

bool processorHasAvx2() {
    return supportsAvx2() && avx2Allowed.load(std::memory_order_relaxed);
}

void allowAvx2(bool allowed) {
    avx2Allowed.store(allowed, std::memory_order_relaxed);
}

}  // namespace vornel
