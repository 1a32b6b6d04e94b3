// The shared array value: three words (count, elements, length) copied by value; every copy
// sees the same elements, and the last copy to go frees them.
#pragma once

#include <cassert>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "core/Allocator.h"

namespace vornel {

// The largest element block an array may ask for: its byte size must fit in 32 bits.
inline constexpr uint64_t kMaxArrayBytes = 0xFFFFFFFFu;

// The shared count word of an array value, separately allocated and touched atomically
// because a pixel buffer may be read by the window thread while the game thread holds it
// (through the compiler's atomic built-ins: the WebAssembly build's library has no atomic_ref).
namespace arraycount {

inline int32_t* create() {
    auto* count = static_cast<int32_t*>(Allocator::allocate(sizeof(int32_t)));
    if (count != nullptr) {
        *count = 1;
    }
    return count;
}

inline void share(int32_t* count) {
    if (count != nullptr) {
        __atomic_fetch_add(count, 1, __ATOMIC_RELAXED);
    }
}

// Answers true when the caller dropped the last share and must free the blocks.
inline bool unshare(int32_t* count) {
    return count != nullptr && __atomic_fetch_sub(count, 1, __ATOMIC_ACQ_REL) == 1;
}

inline int32_t shares(int32_t* count) {
    return count == nullptr ? 0 : __atomic_load_n(count, __ATOMIC_RELAXED);
}

}  // namespace arraycount

template <typename T>
class Array final {
    static_assert(std::is_integral_v<T> && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4),
                  "arrays hold 8-, 16- or 32-bit integers");

public:
    Array() = default;
    Array(const Array& other) : m_count(other.m_count), m_elements(other.m_elements), m_length(other.m_length) {
        arraycount::share(m_count);
    }
    Array(Array&& other) noexcept
        : m_count(std::exchange(other.m_count, nullptr)),
          m_elements(std::exchange(other.m_elements, nullptr)),
          m_length(std::exchange(other.m_length, 0)) {}
    ~Array() { release(); }

    Array& operator=(const Array& other) {
        Array copy(other);
        swap(copy);
        return *this;
    }
    Array& operator=(Array&& other) noexcept {
        Array taken(std::move(other));
        swap(taken);
        return *this;
    }

    // n zeroed elements with a count of 1. n = 0 gives the empty array. A size that cannot be
    // had (negative, over 4 GB, or refused by the heap after a reclaim) also gives the empty
    // array, so a caller that bounds its loops by length() never touches a missing block.
    static Array allocate(int32_t n) {
        Array array;
        if (n <= 0 || static_cast<uint64_t>(n) * sizeof(T) > kMaxArrayBytes) {
            return array;
        }
        int32_t* count = arraycount::create();
        if (count == nullptr) {
            return array;
        }
        auto* elements = static_cast<T*>(Allocator::allocate(static_cast<std::size_t>(n) * sizeof(T)));
        if (elements == nullptr) {
            Allocator::release(count);
            return array;
        }
        array.m_count = count;
        array.m_elements = elements;
        array.m_length = n;
        return array;
    }

    // Drops this value: the array becomes empty, and the elements go with the last copy.
    void release() {
        if (arraycount::unshare(m_count)) {
            Allocator::release(m_elements);
            Allocator::release(m_count);
        }
        m_count = nullptr;
        m_elements = nullptr;
        m_length = 0;
    }

    // Elements are shared, so even a const value hands out writable elements.
    T& operator[](int32_t i) const {
        assert(i >= 0 && i < m_length);
        return m_elements[i];
    }
    T* data() const { return m_elements; }
    int32_t length() const { return m_length; }
    bool isEmpty() const { return m_elements == nullptr; }
    // How many values share the elements (0 for the empty array).
    int32_t shareCount() const { return arraycount::shares(m_count); }

    void swap(Array& other) noexcept {
        std::swap(m_count, other.m_count);
        std::swap(m_elements, other.m_elements);
        std::swap(m_length, other.m_length);
    }

    friend bool operator==(const Array& a, const Array& b) { return a.m_elements == b.m_elements; }

private:
    int32_t* m_count = nullptr;
    T* m_elements = nullptr;
    int32_t m_length = 0;
};

template <typename T = uint8_t>
Array<T> allocByte(int32_t n) {
    static_assert(sizeof(T) == 1);
    return Array<T>::allocate(n);
}

template <typename T = int16_t>
Array<T> allocShort(int32_t n) {
    static_assert(sizeof(T) == 2);
    return Array<T>::allocate(n);
}

template <typename T = int32_t>
Array<T> allocInt(int32_t n) {
    static_assert(sizeof(T) == 4);
    return Array<T>::allocate(n);
}

template <typename T>
void deleteByte(Array<T>& array) {
    static_assert(sizeof(T) == 1);
    array.release();
}

template <typename T>
void deleteShort(Array<T>& array) {
    static_assert(sizeof(T) == 2);
    array.release();
}

template <typename T>
void deleteInt(Array<T>& array) {
    static_assert(sizeof(T) == 4);
    array.release();
}

// Moves count elements from one array to another (or within one: overlapping ranges are
// fine). A range that does not lie inside both arrays copies nothing and answers false.
template <typename T>
bool arrayCopy(const Array<T>& from, int32_t fromOffset, const Array<T>& to, int32_t toOffset, int32_t count) {
    auto inside = [count](const Array<T>& array, int32_t offset) {
        return offset >= 0 && count >= 0 && static_cast<int64_t>(offset) + count <= array.length();
    };
    if (!inside(from, fromOffset) || !inside(to, toOffset)) {
        return false;
    }
    if (count > 0) {
        std::memmove(to.data() + toOffset, from.data() + fromOffset, static_cast<std::size_t>(count) * sizeof(T));
    }
    return true;
}

}  // namespace vornel
