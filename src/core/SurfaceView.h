// A view of pixels someone else owns: the first pixel, how many pixels one row is from the
// next, and how many rows there are. Drawing writes through it; it neither owns nor frees.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Rect.h"

namespace vornel {

template <typename Pixel>
struct SurfaceView {
    Pixel* pixels = nullptr;
    int32_t stride = 0;  // pixels from one row to the next; also the row's width
    int32_t rows = 0;

    constexpr bool isEmpty() const { return pixels == nullptr || stride <= 0 || rows <= 0; }
    // Every pixel of the surface, as a rectangle to clip against.
    constexpr Rect bounds() const { return {0, 0, stride, rows}; }
    constexpr Pixel* row(int32_t y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
    constexpr Pixel& at(int32_t x, int32_t y) const { return row(y)[x]; }
};

// The game's surfaces: 32-bit words, colour 0xRRGGBB under a depth byte.
using Surface32 = SurfaceView<uint32_t>;

}  // namespace vornel
