// The one allocation primitive of the program's own objects and arrays: zeroed blocks that,
// when the heap runs out, ask the picture cache to give memory back before failing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornel {

class Allocator {
public:
    // Where blocks come from. The system heap is the default; tests install heaps that fail.
    // A heap may be swapped while blocks are live, so every heap must release blocks made by
    // the C library's allocator (the test heaps wrap calloc and free).
    class Heap {
    public:
        virtual void* allocateZeroed(std::size_t bytes) = 0;  // null when exhausted
        virtual void release(void* block) = 0;

    protected:
        ~Heap() = default;
    };

    // Something that can free memory on demand: the picture bank registers itself.
    class ReclaimTarget {
    public:
        // Frees at least `bytes` bytes if it can: 1 when it did, 0 when nothing more can go.
        virtual int32_t reclaim(int32_t bytes) = 0;

    protected:
        ~ReclaimTarget() = default;
    };

    // A zeroed block of `bytes` bytes, or null when even a reclaim could not make room.
    static void* allocate(std::size_t bytes);
    // As allocate, for blocks the program cannot go on without: ends the process with one
    // line on stderr instead of answering null.
    static void* allocateOrExit(std::size_t bytes);
    static void release(void* block);

    static void setReclaimTarget(ReclaimTarget* target);
    static ReclaimTarget* reclaimTarget();

    // Installs a heap (null restores the system heap) and answers the one it replaces.
    static Heap* setHeap(Heap* heap);
};

}  // namespace vornel
