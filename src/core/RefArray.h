// The shared array of counted handles: the same three-word value as Array, whose elements
// are Refs that start null and are released, last first, when the last copy goes.
#pragma once

#include <atomic>
#include <cassert>
#include <cstdint>
#include <new>
#include <utility>

#include "core/Allocator.h"
#include "core/Array.h"
#include "core/Ref.h"

namespace vornel {

template <class T>
class RefArray final {
public:
    RefArray() = default;
    // n null handles with a count of 1; n = 0 (or a size that cannot be had) gives the empty array.
    explicit RefArray(int32_t n) {
        if (n <= 0 || static_cast<uint64_t>(n) * sizeof(Ref<T>) + sizeof(Header) > kMaxArrayBytes) {
            return;
        }
        int32_t* count = arraycount::create();
        if (count == nullptr) {
            return;
        }
        void* block = Allocator::allocate(sizeof(Header) + static_cast<std::size_t>(n) * sizeof(Ref<T>));
        if (block == nullptr) {
            Allocator::release(count);
            return;
        }
        auto* header = new (block) Header{n};
        auto* elements = reinterpret_cast<Ref<T>*>(header + 1);
        for (int32_t i = 0; i < n; ++i) {
            new (elements + i) Ref<T>();
        }
        m_count = count;
        m_elements = elements;
        m_length = n;
    }
    RefArray(const RefArray& other) : m_count(other.m_count), m_elements(other.m_elements), m_length(other.m_length) {
        arraycount::share(m_count);
    }
    RefArray(RefArray&& other) noexcept
        : m_count(std::exchange(other.m_count, nullptr)),
          m_elements(std::exchange(other.m_elements, nullptr)),
          m_length(std::exchange(other.m_length, 0)) {}
    ~RefArray() { release(); }

    RefArray& operator=(const RefArray& other) {
        RefArray copy(other);
        swap(copy);
        return *this;
    }
    RefArray& operator=(RefArray&& other) noexcept {
        RefArray taken(std::move(other));
        swap(taken);
        return *this;
    }

    // Drops this value; the last copy releases every handle, last element first.
    void release() {
        if (arraycount::unshare(m_count)) {
            Header* header = reinterpret_cast<Header*>(m_elements) - 1;
            for (int32_t i = header->count - 1; i >= 0; --i) {
                m_elements[i].~Ref<T>();
            }
            Allocator::release(header);
            Allocator::release(m_count);
        }
        m_count = nullptr;
        m_elements = nullptr;
        m_length = 0;
    }

    Ref<T>& operator[](int32_t i) const {
        assert(i >= 0 && i < m_length);
        return m_elements[i];
    }
    int32_t length() const { return m_length; }
    bool isEmpty() const { return m_elements == nullptr; }
    int32_t shareCount() const { return arraycount::shares(m_count); }

    void swap(RefArray& other) noexcept {
        std::swap(m_count, other.m_count);
        std::swap(m_elements, other.m_elements);
        std::swap(m_length, other.m_length);
    }

private:
    // The hidden word in front of the handles: how many there are to release.
    struct alignas(Ref<T>) Header {
        int32_t count;
    };

    int32_t* m_count = nullptr;
    Ref<T>* m_elements = nullptr;
    int32_t m_length = 0;
};

}  // namespace vornel
