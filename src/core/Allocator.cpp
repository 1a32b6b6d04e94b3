// Zeroing allocation with the reclaim-and-retry loop.
#include "core/Allocator.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace vornel {
namespace {

class SystemHeap final : public Allocator::Heap {
public:
    void* allocateZeroed(std::size_t bytes) override { return std::calloc(1, bytes); }
    void release(void* block) override { std::free(block); }
};

// No exit-time destructor, so allocations made while the process exits still find it.
static_assert(std::is_trivially_destructible_v<SystemHeap>);
SystemHeap g_systemHeap;
std::atomic<Allocator::Heap*> g_heap{&g_systemHeap};
std::atomic<Allocator::ReclaimTarget*> g_reclaimTarget{nullptr};

// A reclaim that itself allocates must not start a second reclaim on the same thread.
thread_local bool t_reclaiming = false;

int32_t requestedBytes(std::size_t bytes) {
    return bytes > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(bytes);
}

bool reclaimFor(std::size_t bytes) {
    Allocator::ReclaimTarget* target = g_reclaimTarget.load(std::memory_order_acquire);
    if (target == nullptr || t_reclaiming) {
        return false;
    }
    t_reclaiming = true;
    const int32_t freed = target->reclaim(requestedBytes(bytes));
    t_reclaiming = false;
    return freed != 0;
}

}  // namespace

void* Allocator::allocate(std::size_t bytes) {
    if (bytes == 0) {
        bytes = 1;  // a distinct block even for empty objects
    }
    Heap* heap = g_heap.load(std::memory_order_acquire);
    void* block = heap->allocateZeroed(bytes);
    while (block == nullptr) {
        if (!reclaimFor(bytes)) {
            return nullptr;
        }
        block = heap->allocateZeroed(bytes);
    }
    return block;
}

void* Allocator::allocateOrExit(std::size_t bytes) {
    void* block = allocate(bytes);
    if (block == nullptr) {
        std::fprintf(stderr, "vornel: out of memory (%zu bytes)\n", bytes);
        std::_Exit(1);
    }
    return block;
}

void Allocator::release(void* block) {
    if (block != nullptr) {
        g_heap.load(std::memory_order_acquire)->release(block);
    }
}

void Allocator::setReclaimTarget(ReclaimTarget* target) {
    g_reclaimTarget.store(target, std::memory_order_release);
}

Allocator::ReclaimTarget* Allocator::reclaimTarget() {
    return g_reclaimTarget.load(std::memory_order_acquire);
}

Allocator::Heap* Allocator::setHeap(Heap* heap) {
    Heap* previous = g_heap.exchange(heap != nullptr ? heap : &g_systemHeap, std::memory_order_acq_rel);
    return previous == &g_systemHeap ? nullptr : previous;
}

}  // namespace vornel
