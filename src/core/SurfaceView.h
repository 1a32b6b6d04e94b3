// A view of pixels someone else owns: the first pixel, how many pixels one row is from the
// next, and how many rows there are. Drawing writes through it; it neither owns nor frees.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/Array.h"
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
// The display's frame buffer: 5-6-5 words.
using Surface16 = SurfaceView<uint16_t>;

// The pixels of an array handed along with its stride and rows, as a view: rows cut to the
// whole rows the array holds; a stride of 0 or less gives the empty view.
inline Surface32 surfaceOf(const Array<uint32_t>& pixels, int32_t stride, int32_t rows) {
    if (stride <= 0) {
        return {};
    }
    return {pixels.data(), stride, std::min(rows, pixels.length() / stride)};
}

}  // namespace vornel
