// Drawing a picture into the depth-keyed surface: clipping once at entry, whole-row copies for
// opaque pictures at natural size, and the sampling loop with run skipping, depth test and blending.
#include "media/Picture.h"

#include <algorithm>
#include <cstring>

namespace vornel {
namespace {

constexpr int kDepthShift = 24;  // the surface keeps its depth key where pictures keep alpha and run
constexpr uint32_t kChannelMask = 0xFF;

// The surface rectangle a blit may touch, right and bottom exclusive.
struct DrawArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool isEmpty() const { return left >= right || top >= bottom; }
};

// How many surface pixels, counted from the picture's first, sample inside `size` picture
// pixels when each surface pixel moves inverseScale (Fixed) through the picture.
int64_t sampledSpan(int32_t size, Fixed inverseScale) {
    return ((static_cast<int64_t>(size) << kFixedShift) + inverseScale - 1) / inverseScale;
}

// One axis of the draw area: the caller's clip, cut to the surface [0, limit) and to the
// surface pixels whose samples fall inside the picture.
void clampAxis(int32_t& low, int32_t& high, int32_t limit, int32_t origin, int64_t span) {
    low = static_cast<int32_t>(std::max<int64_t>({low, 0, origin}));
    high = static_cast<int32_t>(std::min<int64_t>({high, limit, origin + span}));
}

// The surface colour's share under a translucent pixel of alpha code 1..6, (8 - alpha)/8 of it.
uint32_t underlay(uint32_t under, uint32_t alpha) {
    const uint32_t eighth = under >> 3 & 0x1F1F1F;
    const uint32_t quarter = under >> 2 & 0x3F3F3F;
    const uint32_t half = under >> 1 & 0x7F7F7F;
    switch (alpha) {
        case 1: return (under & kColourMask) - eighth;
        case 2: return quarter + half;
        case 3: return eighth + half;
        case 4: return half;
        case 5: return quarter + eighth;
        default: return quarter;
    }
}

// Full opacity: the picture's colour under the drawing depth, plus what shows through it.
// Channel sums are plain word additions, as the premultiplied colours are made for.
uint32_t overlay(uint32_t pixel, uint32_t alpha, uint32_t under, uint32_t depthKey) {
    const uint32_t source = (pixel & kColourMask) | depthKey;
    return alpha == 7 ? source : source + underlay(under, alpha);
}

// Partial opacity: each channel mixed in Fixed weights; the result carries no depth key.
uint32_t fade(uint32_t pixel, uint32_t alpha, uint32_t under, Fixed opacity) {
    const Fixed shown = alpha == 7 ? opacity : (static_cast<Fixed>(alpha) * opacity) >> 3;
    const Fixed underWeight = kFixedOne - shown;
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto source = static_cast<int32_t>(pixel >> shift & kChannelMask);
        const auto target = static_cast<int32_t>(under >> shift & kChannelMask);
        mixed |= static_cast<uint32_t>((source * opacity + target * underWeight) >> kFixedShift) << shift;
    }
    return mixed & kColourMask;
}

// Where one row's sampling walks: picture row, surface row and the columns between.
struct RowWalk {
    const uint32_t* source;  // the picture row being sampled
    uint32_t* target;        // the surface row
    int32_t left;
    int32_t right;
    Fixed firstSample;  // picture column of the first surface pixel, Fixed
};

// Drawing parameters that stay the same for every row of one blit.
struct Sampling {
    Fixed inverseScale;
    int32_t scale;  // surface pixels per picture pixel, Fixed
    int32_t depth;
    Fixed opacity;
};

// One row; answers how many picture pixels hid behind nearer surface pixels. The draw area
// keeps every sample inside the picture row, so the loop carries no bounds checks.
template <bool kFullOpacity>
int32_t drawRow(const RowWalk& row, const Sampling& sampling) {
    const uint32_t depthKey = static_cast<uint32_t>(sampling.depth & 0xFF) << kDepthShift;
    Fixed sample = row.firstSample;
    int32_t hidden = 0;
    for (int32_t x = row.left; x < row.right;) {
        const uint32_t pixel = row.source[sample >> kFixedShift];
        sample += sampling.inverseScale;
        const uint32_t alpha = pixel >> kAlphaShift;
        if (alpha == 0) {
            // The run count tells how many transparent pixels follow; skip their surface span.
            // The product is taken in 64 bits: at magnifications past 2048 a 32-bit one would
            // turn negative and walk x backwards. The skip is at most 31 × 2^15 pixels, so x
            // cannot wrap, and a skip that ends past the right edge ends the row, so the next
            // sample is always one the draw area allows.
            const auto skipped = static_cast<int32_t>(
                (static_cast<int64_t>(pixel >> kRunShift) * sampling.scale) >> kFixedShift);
            x += skipped + 1;
            sample += skipped * sampling.inverseScale;
            continue;
        }
        const uint32_t under = row.target[x];
        const auto underDepth = static_cast<int32_t>(under >> kDepthShift);
        if (underDepth != 0 && underDepth < sampling.depth) {
            ++hidden;
        } else if constexpr (kFullOpacity) {
            row.target[x] = overlay(pixel, alpha, under, depthKey);
        } else {
            row.target[x] = fade(pixel, alpha, under, sampling.opacity);
        }
        ++x;
    }
    return hidden;
}

// Opaque pictures at natural size: each row of the area is one copy. The picture's alpha and
// run bits land in the surface's depth byte.
void copyRows(const uint32_t* pixels, int32_t width, uint32_t* surface, int32_t stride, const DrawArea& area,
              int32_t originX, int32_t originY) {
    const auto rowBytes = static_cast<std::size_t>(area.right - area.left) * sizeof(uint32_t);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        std::memcpy(surface + y * stride + area.left, pixels + (y - originY) * width + (area.left - originX), rowBytes);
    }
}

template <bool kFullOpacity>
int32_t drawSampled(const uint32_t* pixels, int32_t width, uint32_t* surface, int32_t stride, const DrawArea& area,
                    int32_t originX, int32_t originY, const Sampling& sampling) {
    const Fixed firstSample = (area.left - originX) * sampling.inverseScale;
    Fixed rowSample = (area.top - originY) * sampling.inverseScale;
    int32_t hidden = 0;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const RowWalk row{pixels + (rowSample >> kFixedShift) * width, surface + y * stride, area.left, area.right,
                          firstSample};
        rowSample += sampling.inverseScale;
        hidden += drawRow<kFullOpacity>(row, sampling);
    }
    return hidden;
}

}  // namespace

int32_t Picture::blit(const Array<uint32_t>& surface, int32_t stride, int32_t /*rows: taken from the surface*/,
                      int32_t clipLeft, int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed left,
                      Fixed top, Fixed inverseScale, int32_t depth, Fixed opacity) {
    if (inverseScale == 0) {
        return 1;
    }
    if (inverseScale < 0 || stride <= 0 || m_width <= 0 || m_height <= 0 ||
        m_pixels.length() < m_width * m_height) {
        return 0;
    }
    const int32_t originX = fromFixed(left);
    const int32_t originY = fromFixed(top);
    DrawArea area{clipLeft, clipTop, clipRight, clipBottom};
    clampAxis(area.left, area.right, stride, originX, sampledSpan(m_width, inverseScale));
    clampAxis(area.top, area.bottom, surface.length() / stride, originY, sampledSpan(m_height, inverseScale));
    if (area.isEmpty()) {
        return 0;
    }
    if (inverseScale == kFixedOne && opacity == kFixedOne && m_opaque != 0) {
        copyRows(m_pixels.data(), m_width, surface.data(), stride, area, originX, originY);
        return 0;
    }
    const Sampling sampling{inverseScale, (1 << 30) / inverseScale, depth, opacity};
    return opacity == kFixedOne
               ? drawSampled<true>(m_pixels.data(), m_width, surface.data(), stride, area, originX, originY, sampling)
               : drawSampled<false>(m_pixels.data(), m_width, surface.data(), stride, area, originX, originY, sampling);
}

}  // namespace vornel
