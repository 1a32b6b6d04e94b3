// The kernels in SSE2 registers, four 32-bit pixels a step: the blit's rows, the mixed fill
// and the 5-6-5 rows. Built wherever the compiler targets SSE2 (and meant to build as well for
// WebAssembly's SIMD through SSE2's intrinsics), so this file holds SSE2 intrinsics only: no
// inline assembly, nothing that asks the processor what it has. Entries with no SSE2 version
// here point at the plain kernels.
#include <emmintrin.h>

#include <algorithm>

#include "kernels/BlitWalk.h"
#include "kernels/KernelTables.h"
#include "kernels/PixelSteps.h"

namespace vornel::kernels {
namespace {

using namespace blit;

// ---- The blit ----
// Each lane goes through exactly the arithmetic of overlay() and fade(), rewritten without
// branches, so the surface ends up the same word for word; transparent runs, and the last
// pixels of a row when fewer than four remain, still go through drawStep().


// The lane helpers are marked always_inline: gcc would otherwise keep drawLanes() a call of
// its own and pass the hidden count through memory.
using Lanes = __m128i;

Lanes splat(uint32_t value) { return _mm_set1_epi32(static_cast<int>(value)); }

// Per lane: `yes` where the mask is all ones, `no` where it is zero.
Lanes select(Lanes mask, Lanes yes, Lanes no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// Each lane's bit kBit spread over the whole lane.
template <int kBit>
Lanes spreadBit(Lanes value) {
    return _mm_srai_epi32(_mm_slli_epi32(value, 31 - kBit), 31);
}

// What stays the same for every block of four lanes of one blit.
struct LaneConstants {
    Lanes hidingLimit;  // see hiddenLanes()
    Lanes depthKey;     // the drawing depth's low byte in the depth byte
    Lanes opacity;      // Fixed, below 1.0 and not negative in fades: it fits a lane's low 16 bits
    Lanes opaqueFadeWeights;  // fadeWeights() of an opaque pixel
};

// A surface pixel hides the picture when its depth byte d is keyed (not 0) and below the
// drawing depth: when d - 1 < limit, unsigned, with limit the depth less one and cut to
// 0..255 (a depth of 1 or less hides behind nothing; one past 255 behind every keyed pixel).
// Compared on whole words, that is (pixel - 2^24) < limit << 24, where the colour bits below
// cannot change the outcome and a d of 0 wraps to the top. SSE2 only compares signed, so both
// sides are offset by 2^31; the pixel's two offsets make one addition.
Lanes hidingLimitOf(int32_t depth) {
    const auto limit = static_cast<uint32_t>(std::clamp(depth, 1, 256) - 1);
    return splat((limit << kDepthShift) ^ 0x80000000u);
}

// Lanes where the surface pixel is keyed and nearer than the drawing depth (see above).
[[gnu::always_inline]] inline Lanes hiddenLanes(Lanes under, Lanes hidingLimit) {
    return _mm_cmpgt_epi32(hidingLimit, _mm_add_epi32(under, splat(0x80000000u - (1u << kDepthShift))));
}

// overlay() per lane. underlay()'s switch becomes masks: -(alpha << 29) holds 8 - alpha in
// the top three bits (alpha 1..7 give 7..1), one bit for each of the half, quarter and eighth
// of the surface colour that show through, and their sum is the switch's for alpha 2..6.
// Seven eighths (alpha 1) are the colour less an eighth, which rounds differently from the
// three parts, and an opaque pixel (alpha 7, weight bits 001) lets nothing through.
[[gnu::always_inline]] inline Lanes overlayLanes(Lanes pixels, Lanes under, Lanes depthKey) {
    const Lanes alphaBits = _mm_and_si128(pixels, splat(kOpaqueAlpha));
    const Lanes weightBits = _mm_sub_epi32(_mm_setzero_si128(), alphaBits);
    const Lanes half = _mm_and_si128(_mm_srli_epi32(under, 1), splat(0x7F7F7F));
    const Lanes quarter = _mm_and_si128(_mm_srli_epi32(under, 2), splat(0x3F3F3F));
    const Lanes eighth = _mm_and_si128(_mm_srli_epi32(under, 3), splat(0x1F1F1F));
    const Lanes parts = _mm_add_epi32(_mm_add_epi32(_mm_and_si128(half, spreadBit<31>(weightBits)),
                                                    _mm_and_si128(quarter, spreadBit<30>(weightBits))),
                                      _mm_and_si128(eighth, spreadBit<29>(weightBits)));
    const Lanes sevenEighths = _mm_sub_epi32(_mm_and_si128(under, splat(kColourMask)), eighth);
    const Lanes shown = select(_mm_cmpeq_epi32(alphaBits, splat(1u << kAlphaShift)), sevenEighths, parts);
    const Lanes source = _mm_or_si128(_mm_and_si128(pixels, splat(kColourMask)), depthKey);
    return _mm_add_epi32(source, _mm_andnot_si128(_mm_cmpeq_epi32(alphaBits, splat(kOpaqueAlpha)), shown));
}

// One channel of fade() for four pixels: source × opacity + target × underWeight, exact, by
// one multiply-add of 16-bit pairs. A lane's pair is (source, -target) against the weights
// (opacity, -underWeight): underWeight reaches 0x8000, which no signed 16-bit number holds,
// but -0x8000 is one. The sum stays below 2^24, so nothing wraps.
template <int kShift>
[[gnu::always_inline]] inline Lanes fadeChannel(Lanes pixels, Lanes under, Lanes weights) {
    const Lanes channel = splat(kChannelMask << kShift);
    const Lanes source = _mm_srli_epi32(_mm_and_si128(pixels, channel), kShift);
    // -(target << 16) has -target in the pair's upper half and zero in its lower.
    const Lanes upperTarget = _mm_slli_epi32(_mm_and_si128(under, channel), 16 - kShift);
    const Lanes pair = _mm_or_si128(source, _mm_sub_epi32(_mm_setzero_si128(), upperTarget));
    return _mm_srli_epi32(_mm_madd_epi16(pair, weights), kFixedShift);
}

// fade()'s weights per lane for an opacity in [0, 1.0): (opacity, shown - 1.0) as the 16-bit
// pair fadeChannel() multiplies with. shown is (alpha × opacity) >> 3, and the opacity itself
// for opaque pixels; alpha × opacity is one multiply-add, as both fit 16 bits and the upper
// halves of the lanes are zero.
[[gnu::always_inline]] inline Lanes fadeWeights(Lanes pixels, Lanes opacity) {
    const Lanes alpha = _mm_srli_epi32(pixels, kAlphaShift);
    const Lanes partShown = _mm_srli_epi32(_mm_madd_epi16(alpha, opacity), 3);
    const Lanes shown = select(_mm_cmpeq_epi32(alpha, splat(7)), opacity, partShown);
    return _mm_or_si128(opacity, _mm_slli_epi32(_mm_sub_epi32(shown, splat(kFixedOne)), 16));
}

Lanes opaqueFadeWeights(Fixed opacity) {
    return splat(static_cast<uint32_t>(opacity) | static_cast<uint32_t>(opacity - kFixedOne) << 16);
}

// fade() per lane. Each channel's result is shifted to its place and or-ed in as fade() does,
// so even a channel past 255 spills over the same way. Blue and red go together: with each
// pixel's (blue, red) as 16-bit numbers and the target's negated beside them, interleaving
// gives the pairs of both channels of two pixels in one register, and packing the shifted
// sums back to 16 bits puts blue and red << 16 of each pixel in its lane (each below 2^9).
[[gnu::always_inline]] inline Lanes fadeLanes(Lanes pixels, Lanes under, Lanes weights) {
    const Lanes blueRed = splat(0x00FF00FF);
    const Lanes sources = _mm_and_si128(pixels, blueRed);
    const Lanes targets = _mm_sub_epi16(_mm_setzero_si128(), _mm_and_si128(under, blueRed));
    const Lanes low = _mm_madd_epi16(_mm_unpacklo_epi16(sources, targets), _mm_unpacklo_epi32(weights, weights));
    const Lanes high = _mm_madd_epi16(_mm_unpackhi_epi16(sources, targets), _mm_unpackhi_epi32(weights, weights));
    const Lanes mixedBlueRed =
        _mm_packs_epi32(_mm_srli_epi32(low, kFixedShift), _mm_srli_epi32(high, kFixedShift));
    const Lanes mixed = _mm_or_si128(mixedBlueRed, _mm_slli_epi32(fadeChannel<8>(pixels, under, weights), 8));
    return _mm_and_si128(mixed, splat(kColourMask));
}

// Draws the four picture pixels into the surface at target, except in the `undrawn` lanes
// and where nearer surface pixels hide them; counts the hidden lanes (as -1s) in hiddenCount.
// kAllOpaque: every lane is opaque, the bulk of most pictures, which makes an opaque lane's
// overlay the picture's colour under the depth key and its fade's weights the same for all.
template <bool kFullOpacity, bool kAllOpaque>
[[gnu::always_inline]] inline void drawLanes(Lanes pixels, uint32_t* target, Lanes undrawn,
                                            const LaneConstants& constants, Lanes& hiddenCount) {
    const Lanes under = _mm_loadu_si128(reinterpret_cast<const Lanes*>(target));
    const Lanes hidden = _mm_andnot_si128(undrawn, hiddenLanes(under, constants.hidingLimit));
    Lanes drawn;
    if constexpr (kFullOpacity && kAllOpaque) {
        drawn = _mm_or_si128(_mm_and_si128(pixels, splat(kColourMask)), constants.depthKey);
    } else if constexpr (kFullOpacity) {
        drawn = overlayLanes(pixels, under, constants.depthKey);
    } else if constexpr (kAllOpaque) {
        drawn = fadeLanes(pixels, under, constants.opaqueFadeWeights);
    } else {
        drawn = fadeLanes(pixels, under, fadeWeights(pixels, constants.opacity));
    }
    _mm_storeu_si128(reinterpret_cast<Lanes*>(target), select(_mm_or_si128(hidden, undrawn), under, drawn));
    hiddenCount = _mm_add_epi32(hiddenCount, hidden);
}

// The picture pixels of four surface pixels from x on: one load at natural size, four
// samples otherwise.
template <bool kNaturalSize>
[[gnu::always_inline]] inline Lanes sampleLanes(const uint32_t* source, Fixed sample, Fixed step) {
    if constexpr (kNaturalSize) {
        return _mm_loadu_si128(reinterpret_cast<const Lanes*>(source + (sample >> kFixedShift)));
    } else {
        return _mm_set_epi32(static_cast<int>(source[(sample + 3 * step) >> kFixedShift]),
                             static_cast<int>(source[(sample + 2 * step) >> kFixedShift]),
                             static_cast<int>(source[(sample + step) >> kFixedShift]),
                             static_cast<int>(source[sample >> kFixedShift]));
    }
}

// One row, four surface pixels a block. A block whose samples hold a transparent pixel draws
// the lanes before it, then skips the transparent run as drawStep() does. The last pixels of
// the row, fewer than four, go through drawStep() (on copies of x and sample, which keeps
// those two in registers in the loop).
// The lanes' hidden pixels are added up in hiddenCount, the caller's, for all rows at once.
template <bool kFullOpacity, bool kNaturalSize>
int32_t drawRowByLanes(const RowWalk& row, const Sampling& sampling, const LaneConstants& constants,
                       Lanes& hiddenCount) {
    const Fixed step = sampling.inverseScale;
    const Lanes laneIndex = _mm_set_epi32(3, 2, 1, 0);
    Fixed sample = row.firstSample;
    int32_t x = row.left;
    while (row.right - x >= 4) {
        const Lanes pixels = sampleLanes<kNaturalSize>(row.source, sample, step);
        const Lanes alphaBits = _mm_and_si128(pixels, splat(kOpaqueAlpha));
        const int opaqueLanes = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(alphaBits, splat(kOpaqueAlpha))));
        if (opaqueLanes == 0xF) {
            drawLanes<kFullOpacity, true>(pixels, row.target + x, _mm_setzero_si128(), constants, hiddenCount);
            x += 4;
            sample += 4 * step;
            continue;
        }
        const int transparentLanes =
            _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(alphaBits, _mm_setzero_si128())));
        if (transparentLanes == 0) {
            drawLanes<kFullOpacity, false>(pixels, row.target + x, _mm_setzero_si128(), constants, hiddenCount);
            x += 4;
            sample += 4 * step;
            continue;
        }
        const int drawnLanes = __builtin_ctz(static_cast<unsigned>(transparentLanes));
        if (drawnLanes > 0) {
            const Lanes undrawn = _mm_cmpgt_epi32(laneIndex, _mm_set1_epi32(drawnLanes - 1));
            drawLanes<kFullOpacity, false>(pixels, row.target + x, undrawn, constants, hiddenCount);
            x += drawnLanes;
            sample += drawnLanes * step;
        }
        // The transparent run; at natural size skippedBy() is the run count itself.
        const int32_t skipped = kNaturalSize ? static_cast<int32_t>(row.source[sample >> kFixedShift] >> kRunShift)
                                             : skippedBy(row.source[sample >> kFixedShift], sampling.scale);
        x += skipped + 1;
        sample += step;
        sample += skipped * step;
    }
    return drawRest<kFullOpacity>(row, sampling, x, sample);
}

template <bool kFullOpacity, bool kNaturalSize>
int32_t drawRowsByLanes(const BlitRows& rows, const Sampling& sampling) {
    const LaneConstants constants{hidingLimitOf(sampling.depth), splat(depthKeyOf(sampling)),
                                  _mm_set1_epi32(sampling.opacity), opaqueFadeWeights(sampling.opacity)};
    Lanes hiddenCount = _mm_setzero_si128();
    const int32_t hidden = sumOverRows(rows, sampling.inverseScale, [&](const RowWalk& row) {
        return drawRowByLanes<kFullOpacity, kNaturalSize>(row, sampling, constants, hiddenCount);
    });
    // The lanes counted hidden pixels as -1 each.
    alignas(16) int32_t counts[4];
    _mm_store_si128(reinterpret_cast<Lanes*>(counts), hiddenCount);
    return hidden - (counts[0] + counts[1] + counts[2] + counts[3]);
}

int32_t drawInLanes(const BlitRows& rows, const Sampling& sampling) {
    const bool naturalSize = sampling.inverseScale == kFixedOne;
    if (sampling.opacity == kFixedOne) {
        return naturalSize ? drawRowsByLanes<true, true>(rows, sampling) : drawRowsByLanes<true, false>(rows, sampling);
    }
    return naturalSize ? drawRowsByLanes<false, true>(rows, sampling) : drawRowsByLanes<false, false>(rows, sampling);
}

int32_t drawBlitRows(const BlitRows& rows, const Sampling& sampling) {
    if (!lanesCanDraw(sampling, sampling.opacity == kFixedOne)) {
        return plain::drawBlitRows(rows, sampling);
    }
    return drawInLanes(rows, sampling);
}

// ---- The mixed fill ----

// One row mixed. gcc vectorises mixChannels() only with 32-bit multiplies, which SSE2 lacks;
// here the row goes four pixels at a time with each channel widened to the upper byte of a
// 16-bit lane, so that the high half of its product with the weight is exactly
// channel·weight/256 rounded down, then packed back. The depth byte's lanes are weighed by 0,
// which clears them as mixChannels() does.
void mixRow(uint32_t* row, std::size_t width, uint32_t keep, uint32_t colourShare) {
    std::size_t x = 0;
    const auto k = static_cast<int16_t>(keep);
    const __m128i keeps = _mm_set_epi16(0, k, k, k, 0, k, k, k);  // lanes B G R A of two pixels
    const __m128i share = _mm_set1_epi32(static_cast<int>(colourShare));
    const __m128i zero = _mm_setzero_si128();
    for (; width - x >= 4; x += 4) {
        auto* four = reinterpret_cast<__m128i*>(row + x);
        const __m128i old = _mm_loadu_si128(four);
        const __m128i low = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, old), keeps);
        const __m128i high = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, old), keeps);
        _mm_storeu_si128(four, _mm_add_epi32(_mm_packus_epi16(low, high), share));
    }
    for (; x < width; ++x) {
        row[x] = mixChannels(row[x], keep, colourShare);
    }
}

void fillMixed(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    const MixWeights weights = mixWeightsOf(colour);
    for (std::size_t y = 0; y < rows; ++y) {
        mixRow(first + static_cast<std::ptrdiff_t>(y) * stride, width, weights.keep, weights.colourShare);
    }
}

// ---- The 5-6-5 rows ----

// Four pixels' 5-6-5 values, shifted up by 5 bits into the lanes' low halves: one multiply-add
// of 16-bit pairs moves red and blue into place together (red × 2^13 + blue × 2^2, with
// nothing else left in the pairs), and green is already where it belongs.
__m128i to565Lanes(__m128i pixels) {
    const __m128i redBlue = _mm_and_si128(pixels, _mm_set1_epi32(0x00F800F8));
    const __m128i placed = _mm_madd_epi16(redBlue, _mm_set1_epi32(0x20000004));
    return _mm_or_si128(placed, _mm_and_si128(pixels, _mm_set1_epi32(0x0000FC00)));
}

// The 16-bit values of two such groups, in order: each lane is moved so that the value's
// top bit is the lane's sign, which lets the signed pack keep all 16 bits.
__m128i pack565(__m128i low, __m128i high) {
    const __m128i lowSigned = _mm_srai_epi32(_mm_slli_epi32(low, 16 - 5), 16);
    const __m128i highSigned = _mm_srai_epi32(_mm_slli_epi32(high, 16 - 5), 16);
    return _mm_packs_epi32(lowSigned, highSigned);
}

// Eight pixels from `from` as 5-6-5 at `to`.
void convertEight(const uint32_t* from, uint16_t* to) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), pack565(to565Lanes(low), to565Lanes(high)));
}

// Sixteen pixels a turn (two groups of eight halve the loop's own instructions), then eight,
// then one at a time.
void convertTo565(const uint32_t* from, uint16_t* to, std::size_t count) {
    std::size_t i = 0;
    for (; count - i >= 16; i += 16) {
        convertEight(from + i, to + i);
        convertEight(from + i + 8, to + i + 8);
    }
    if (count - i >= 8) {
        convertEight(from + i, to + i);
        i += 8;
    }
    for (; i < count; ++i) {
        to[i] = to565(from[i]);
    }
}

}  // namespace

extern const PixelKernels kSse2Kernels = {
    "sse2",        plain::copyRows, plain::fillOpaque, plain::fillHalf,     plain::fillQuarter, fillMixed,
    drawBlitRows,  convertTo565,    plain::turnTo565,  plain::stretchTo565,
};

}  // namespace vornel::kernels
