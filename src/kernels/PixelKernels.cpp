// Which tables this build holds (CMake builds the SSE2 and AVX2 files only for targets that
// have them and says so by VORNEL_KERNELS_SSE2 and VORNEL_KERNELS_AVX2), which of them the
// machine runs, and the one in use.
#include "kernels/PixelKernels.h"

#include <atomic>

#include "kernels/KernelTables.h"

namespace vornel {
namespace {

#if defined(VORNEL_KERNELS_AVX2)
// gcc's and clang's check looks at the system's saved register state as well (xgetbv), so a
// system that does not save the wide registers answers no.
bool processorRunsAvx2() {
    return __builtin_cpu_supports("avx2") != 0;
}
#endif

std::vector<const PixelKernels*> tablesTheMachineRuns() {
    std::vector<const PixelKernels*> tables{&kernels::kPlainKernels};
#if defined(VORNEL_KERNELS_SSE2)
    tables.push_back(&kernels::kSse2Kernels);
#endif
#if defined(VORNEL_KERNELS_AVX2)
    if (processorRunsAvx2()) {
        tables.push_back(&kernels::kAvx2Kernels);
    }
#endif
    return tables;
}

// The table in use; the widest supported one until a ScopedPixelKernels changes it. Atomic
// because the game thread draws and the window thread presents through it.
std::atomic<const PixelKernels*>& activeTable() {
    static std::atomic<const PixelKernels*> table{PixelKernels::supported().back()};
    return table;
}

}  // namespace

const std::vector<const PixelKernels*>& PixelKernels::supported() {
    static const std::vector<const PixelKernels*> tables = tablesTheMachineRuns();
    return tables;
}

const PixelKernels& PixelKernels::active() {
    return *activeTable().load(std::memory_order_relaxed);
}

const PixelKernels& PixelKernels::activate(const PixelKernels& table) {
    return *activeTable().exchange(&table, std::memory_order_relaxed);
}

}  // namespace vornel
