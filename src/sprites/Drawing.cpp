// The rectangle fill and the gradient colours.
#include "sprites/Drawing.h"

#include <algorithm>
#include <cstddef>

#include "kernels/PixelKernels.h"

namespace vornel {
namespace {

constexpr uint32_t kColour = 0xFFFFFF;

// The fill of each blending mode in the active kernels, by the colour's opacity AA (not 0).
PixelKernels::FillRows fillOf(const PixelKernels& kernels, uint32_t alpha) {
    switch (alpha) {
        case 0xFF: return kernels.fillOpaque;
        case 0x80: return kernels.fillHalf;
        case 0xC0: return kernels.fillQuarter;
        default: return kernels.fillMixed;
    }
}

}  // namespace

void Drawing::fillRect(const Surface32& surface, const Rect& area, uint32_t color) {
    const uint32_t alpha = color >> 24;
    if (alpha == 0 || surface.isEmpty()) {
        return;
    }
    // Callers clip; this only keeps a wrong rectangle from writing outside the surface.
    const Rect clipped = intersect(area, surface.bounds());
    if (clipped.isEmpty()) {
        return;
    }
    uint32_t* first = surface.row(clipped.top) + clipped.left;
    fillOf(PixelKernels::active(), alpha)(first, surface.stride, static_cast<std::size_t>(clipped.width()),
                                          static_cast<std::size_t>(clipped.height()), color);
}

void Drawing::fillGradient(const Surface32& surface, const Rect& area, uint32_t from, uint32_t to,
                           int32_t firstRow, Fixed step) {
    if (surface.isEmpty()) {
        return;
    }
    const Rect clipped = intersect(area, surface.bounds());
    if (clipped.isEmpty()) {
        return;
    }
    const PixelKernels& kernels = PixelKernels::active();
    const auto width = static_cast<std::size_t>(clipped.width());
    for (int32_t y = clipped.top; y < clipped.bottom; ++y) {
        const uint32_t color = gradientColour(from, to, (y - firstRow) * step);
        const uint32_t alpha = color >> 24;
        if (alpha != 0) {
            fillOf(kernels, alpha)(surface.row(y) + clipped.left, surface.stride, width, 1, color);
        }
    }
}

uint32_t Drawing::gradientColour(uint32_t from, uint32_t to, Fixed t) {
    if (from == to) {
        return from;
    }
    uint32_t mixed = 0xFF000000;
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto c0 = static_cast<int32_t>(from >> shift & 0xFF);
        const auto c1 = static_cast<int32_t>(to >> shift & 0xFF);
        const int32_t c = c0 + (((c1 - c0) * t) >> kFixedShift);
        mixed |= static_cast<uint32_t>(c & 0xFF) << shift;
    }
    return mixed;
}

uint32_t Drawing::withOpacity(uint32_t color, Fixed opacity) {
    if (opacity == kFixedOne) {
        return color;
    }
    const uint32_t alpha = static_cast<uint32_t>((static_cast<int64_t>(color >> 24) * opacity) >> kFixedShift);
    return (color & kColour) | (alpha & 0xFF) << 24;
}

}  // namespace vornel
