// The rectangle fill and the gradient colours.
#include "sprites/Drawing.h"

#include <algorithm>
#include <cstring>

namespace vornel {
namespace {

constexpr uint32_t kColour = 0xFFFFFF;

template <typename Blend>
void blendRect(uint32_t* pixels, int32_t stride, int32_t left, int32_t top, int32_t right, int32_t bottom,
               Blend blend) {
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* row = pixels + y * stride;
        for (int32_t x = left; x < right; ++x) {
            row[x] = blend(row[x]);
        }
    }
}

// Opaque: one row written pixel by pixel, then copied into the rows below.
void fillOpaque(uint32_t* pixels, int32_t stride, int32_t left, int32_t top, int32_t right, int32_t bottom,
                uint32_t color) {
    uint32_t* first = pixels + top * stride;
    std::fill(first + left, first + right, color);
    const auto rowBytes = static_cast<std::size_t>(right - left) * sizeof(uint32_t);
    for (int32_t y = top + 1; y < bottom; ++y) {
        std::memcpy(pixels + y * stride + left, first + left, rowBytes);
    }
}

uint32_t mixChannels(uint32_t old, uint32_t color, uint32_t alpha) {
    const uint32_t keep = 255 - alpha;
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t before = old >> shift & 0xFF;
        const uint32_t after = color >> shift & 0xFF;
        mixed |= (((before * keep) >> 8) + ((after * alpha) >> 8)) << shift;
    }
    return mixed;
}

}  // namespace

void Drawing::fillRect(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t left, int32_t top,
                       int32_t right, int32_t bottom, uint32_t color) {
    const uint32_t alpha = color >> 24;
    if (alpha == 0 || stride <= 0) {
        return;
    }
    // Callers clip; this only keeps a wrong rectangle from writing outside the surface.
    rows = std::min(rows, surface.length() / stride);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, stride);
    bottom = std::min(bottom, rows);
    if (left >= right || top >= bottom) {
        return;
    }
    uint32_t* pixels = surface.data();
    if (alpha == 0xFF) {
        fillOpaque(pixels, stride, left, top, right, bottom, color);
    } else if (alpha == 0x80) {
        const uint32_t half = (color >> 1) & 0x7F7F7F;
        blendRect(pixels, stride, left, top, right, bottom,
                  [half](uint32_t p) { return ((p >> 1) & 0x7F7F7F) + half; });
    } else if (alpha == 0xC0) {
        const uint32_t half = (color >> 1) & 0x7F7F7F;
        const uint32_t threeQuarters = half + ((half >> 1) & 0x3F3F3F);
        blendRect(pixels, stride, left, top, right, bottom,
                  [threeQuarters](uint32_t p) { return ((p >> 2) & 0x3F3F3F) + threeQuarters; });
    } else {
        blendRect(pixels, stride, left, top, right, bottom,
                  [color, alpha](uint32_t p) { return mixChannels(p, color, alpha); });
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
