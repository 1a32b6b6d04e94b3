// The one rectangle of the program: surface, window and display areas in whole pixels, right
// and bottom exclusive, so that right - left is the width.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vornel {

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }

    constexpr bool contains(const Rect& other) const {
        return left <= other.left && other.right <= right && top <= other.top && other.bottom <= bottom;
    }
    constexpr bool overlaps(const Rect& other) const {
        return std::max(left, other.left) < std::min(right, other.right) &&
               std::max(top, other.top) < std::min(bottom, other.bottom);
    }
    // The rectangle moved by (dx, dy).
    constexpr Rect offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The smallest rectangle holding both; an empty one adds nothing.
constexpr Rect unite(const Rect& a, const Rect& b) {
    if (a.isEmpty()) {
        return b;
    }
    if (b.isEmpty()) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// The part both share; an empty rectangle at the origin when they do not overlap.
constexpr Rect intersect(const Rect& a, const Rect& b) {
    const Rect overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                       std::min(a.bottom, b.bottom)};
    return overlap.isEmpty() ? Rect{} : overlap;
}

}  // namespace vornel
