// The pixel-at-a-time walk along a blit's rows, which every kernel set falls back on for what
// it does not draw in lanes, and the small steps the lanes share with it.
//
// Everything here has internal linkage (an unnamed namespace), so each kernel file that
// includes it compiles a copy of its own. The AVX2 file is built with -mavx2: were these
// functions ordinary inline ones, its AVX2-built copies would be emitted as weak definitions
// beside the baseline files' copies, and the linker keeps whichever it meets first, possibly
// the AVX2 one for the baseline callers too, which then fault on processors without AVX2.
// A copy per file costs a few hundred bytes of code; it also keeps the walk inlined into each
// set's row loops. Only the kernels library includes this header.
#pragma once

#include <cstdint>

#include "core/Fixed.h"
#include "kernels/BlitRows.h"

namespace vornel::blit {
namespace {

inline uint32_t depthKeyOf(const Sampling& sampling) {
    return static_cast<uint32_t>(sampling.depth & 0xFF) << kDepthShift;
}

// Fades go into lanes only with an opacity in [0, 1.0), whose weights fit 16 bits.
inline bool lanesCanDraw(const Sampling& sampling, bool fullOpacity) {
    return fullOpacity || (sampling.opacity >= 0 && sampling.opacity < kFixedOne);
}

// The walk of row y of the area, whose first surface pixel samples picture column firstSample.
inline RowWalk rowWalkOf(const BlitRows& rows, int32_t y, Fixed rowSample, Fixed firstSample) {
    return RowWalk{rows.pixels + (rowSample >> kFixedShift) * rows.width, rows.surface + y * rows.stride,
                   rows.area.left, rows.area.right, firstSample, rows.width};
}

// Every row of the area through drawRow(row), which answers the row's hidden pixels; answers
// those of all rows.
template <typename DrawRow>
int32_t sumOverRows(const BlitRows& rows, Fixed inverseScale, const DrawRow& drawRow) {
    const Fixed firstSample = (rows.area.left - rows.originX) * inverseScale;
    Fixed rowSample = (rows.area.top - rows.originY) * inverseScale;
    int32_t hidden = 0;
    for (int32_t y = rows.area.top; y < rows.area.bottom; ++y) {
        hidden += drawRow(rowWalkOf(rows, y, rowSample, firstSample));
        rowSample += inverseScale;
    }
    return hidden;
}

// The run count of a transparent pixel tells how many transparent pixels follow; answers how
// many surface pixels past its own they cover. The product is taken in 64 bits: at
// magnifications past 2048 a 32-bit one would turn negative and walk x backwards. The skip is
// at most 31 × 2^15 pixels, so x cannot wrap, and a skip that ends past the right edge ends
// the row, so the next sample is always one the draw area allows.
inline int32_t skippedBy(uint32_t transparentPixel, int32_t scale) {
    return static_cast<int32_t>((static_cast<int64_t>(transparentPixel >> kRunShift) * scale) >> kFixedShift);
}

// The surface colour's share under a translucent pixel of alpha code 1..6, (8 - alpha)/8 of it.
inline uint32_t underlay(uint32_t under, uint32_t alpha) {
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
inline uint32_t overlay(uint32_t pixel, uint32_t alpha, uint32_t under, uint32_t depthKey) {
    const uint32_t source = (pixel & kColourMask) | depthKey;
    return alpha == 7 ? source : source + underlay(under, alpha);
}

// Partial opacity: each channel mixed in Fixed weights; the result carries no depth key.
inline uint32_t fade(uint32_t pixel, uint32_t alpha, uint32_t under, Fixed opacity) {
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

// One step of the walk along a row from surface pixel x, whose sample is `sample`: a picture
// pixel drawn, or a transparent run skipped. Moves x and sample on; answers 1 when a nearer
// surface pixel hid the picture pixel. The draw area keeps every sample inside the picture
// row, so there are no bounds checks.
template <bool kFullOpacity>
int32_t drawStep(const RowWalk& row, const Sampling& sampling, uint32_t depthKey, int32_t& x, Fixed& sample) {
    const uint32_t pixel = row.source[sample >> kFixedShift];
    sample += sampling.inverseScale;
    const uint32_t alpha = pixel >> kAlphaShift;
    if (alpha == 0) {
        const int32_t skipped = skippedBy(pixel, sampling.scale);
        x += skipped + 1;
        sample += skipped * sampling.inverseScale;
        return 0;
    }
    uint32_t& target = row.target[x++];
    const uint32_t under = target;
    const auto underDepth = static_cast<int32_t>(under >> kDepthShift);
    if (underDepth != 0 && underDepth < sampling.depth) {
        return 1;
    }
    if constexpr (kFullOpacity) {
        target = overlay(pixel, alpha, under, depthKey);
    } else {
        target = fade(pixel, alpha, under, sampling.opacity);
    }
    return 0;
}

// The rest of a row from surface pixel x, a pixel at a time; answers how many picture pixels
// hid behind nearer surface pixels.
template <bool kFullOpacity>
int32_t drawRest(const RowWalk& row, const Sampling& sampling, int32_t x, Fixed sample) {
    const uint32_t depthKey = depthKeyOf(sampling);
    int32_t hidden = 0;
    while (x < row.right) {
        hidden += drawStep<kFullOpacity>(row, sampling, depthKey, x, sample);
    }
    return hidden;
}

}  // namespace
}  // namespace vornel::blit
