// The root of every reference-counted object: a count that starts at 0 and a deleting destructor.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace vornel {

class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Objects live in zeroed memory from the allocator. Running out of memory for an object
    // ends the process with a message: no caller could go on with a missing object.
    static void* operator new(std::size_t bytes);
    static void operator delete(void* block);

    // Runs the destructors of the class chain; with bit 0 of flags set, frees the memory too.
    void destroy(int flags);

    void addReference() { m_refCount.fetch_add(1, std::memory_order_relaxed); }
    // Drops one reference and destroys the object when it was the last.
    void releaseReference() {
        if (m_refCount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            destroy(1);
        }
    }
    int32_t referenceCount() const { return m_refCount.load(std::memory_order_relaxed); }

protected:
    // Only destroy() ends an object: handles decide when.
    virtual ~Object() = default;

private:
    // Atomic because the window thread, the game thread and the audio thread may share objects.
    std::atomic<int32_t> m_refCount{0};
};

}  // namespace vornel
