// A heap for tests: counts live blocks and refuses allocations on demand.
#pragma once

#include <cstdlib>

#include "core/Allocator.h"

namespace vornel::test {

class FakeHeap final : public Allocator::Heap {
public:
    FakeHeap() : m_previous(Allocator::setHeap(this)) {}
    ~FakeHeap() { Allocator::setHeap(m_previous); }
    FakeHeap(const FakeHeap&) = delete;
    FakeHeap& operator=(const FakeHeap&) = delete;

    void* allocateZeroed(std::size_t bytes) override {
        ++attempts;
        if (refuseFromAttempt > 0 && attempts >= refuseFromAttempt) {
            return nullptr;
        }
        if (exhausted || refusals > 0) {
            refusals = refusals > 0 ? refusals - 1 : 0;
            return nullptr;
        }
        ++liveBlocks;
        return std::calloc(1, bytes);
    }
    void release(void* block) override {
        --liveBlocks;
        std::free(block);
    }

    bool exhausted = false;  // refuse every allocation
    int refusals = 0;        // refuse this many allocations, then serve again
    int refuseFromAttempt = 0;  // when set, serve the attempts before this one and refuse the rest
    int attempts = 0;
    int liveBlocks = 0;

private:
    Allocator::Heap* m_previous;
};

}  // namespace vornel::test
