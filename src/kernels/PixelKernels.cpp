// Which tables this build holds (CMake builds the SSE2 and AVX2 files only for targets that
// have them and says so by VORNEL_KERNELS_SSE2 and VORNEL_KERNELS_AVX2), which of them the
// machine runs, and the one in use.
#include "kernels/PixelKernels.h"

#include <array>
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

// Every table this build holds, plain first, widest last, and how many of them the machine
// runs. (No heap: the list is made before anything else draws, and an allocation here would
// move every later one, and with it how the pictures and surfaces sit in the cache lines.)
struct MachineTables {
    std::array<const PixelKernels*, 3> tables{};
    std::size_t count = 0;

    void add(const PixelKernels& table) { tables[count++] = &table; }
};

MachineTables tablesTheMachineRuns() {
    MachineTables runs;
    runs.add(kernels::kPlainKernels);
#if defined(VORNEL_KERNELS_SSE2)
    runs.add(kernels::kSse2Kernels);
#endif
#if defined(VORNEL_KERNELS_AVX2)
    if (processorRunsAvx2()) {
        runs.add(kernels::kAvx2Kernels);
    }
#endif
    return runs;
}

// The table in use; the widest supported one until a ScopedPixelKernels changes it. Atomic
// because the game thread draws and the window thread presents through it.
std::atomic<const PixelKernels*>& activeTable() {
    static std::atomic<const PixelKernels*> table{PixelKernels::supported().back()};
    return table;
}

}  // namespace

std::span<const PixelKernels* const> PixelKernels::supported() {
    static const MachineTables runs = tablesTheMachineRuns();
    return {runs.tables.data(), runs.count};
}

const PixelKernels& PixelKernels::active() {
    return *activeTable().load(std::memory_order_relaxed);
}

const PixelKernels& PixelKernels::activate(const PixelKernels& table) {
    return *activeTable().exchange(&table, std::memory_order_relaxed);
}

}  // namespace vornel
