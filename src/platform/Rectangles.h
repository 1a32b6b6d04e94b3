// Small operations on window rectangles (right and bottom exclusive).
#pragma once

#include <algorithm>

#include "platform/Platform.h"

namespace vornel {

inline bool isEmpty(const ScreenRect& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// The smallest rectangle holding both; an empty one adds nothing.
inline ScreenRect unite(const ScreenRect& a, const ScreenRect& b) {
    if (isEmpty(a)) {
        return b;
    }
    if (isEmpty(b)) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

inline ScreenRect intersect(const ScreenRect& a, const ScreenRect& b) {
    const ScreenRect overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                             std::min(a.bottom, b.bottom)};
    return isEmpty(overlap) ? ScreenRect{} : overlap;
}

}  // namespace vornel
