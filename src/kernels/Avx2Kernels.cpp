// The kernels in AVX2 registers, eight 32-bit pixels a step: the blit's rows, the fills, the
// row copy and the 5-6-5 rows. This file alone is built with -mavx2 (and only on x86-64);
// PixelKernels hands its table out only on processors and systems that run AVX2. Nothing here
// but the table is visible outside the file, and it uses no inline function or template from
// outside it (the standard library's included), whose AVX2-built copy the linker might keep
// for baseline callers as well; the shared walk and steps have internal linkage (BlitWalk.h).
//
// The blit: every lane comes out as overlay() and fade() make it, word for word. Besides the
// width, what AVX2 brings: a per-lane table lookup (vpermd) turns each alpha code into the
// shifts and masks of its share of the surface colour, variable shifts apply them, blends
// select, and masked loads and stores draw the last pixels of a row in lanes too. Pictures
// whose run counts are true (as every decoded picture's are) draw whole blocks with their
// transparent lanes left out; others stop at each transparent pixel and skip its run by its
// count, whatever it says, as the pixel-at-a-time walk does.
#include <immintrin.h>

#include <cstdint>

#include "kernels/BlitWalk.h"
#include "kernels/KernelTables.h"
#include "kernels/PixelSteps.h"

namespace vornel::kernels {
namespace {

using namespace blit;

// std::min, std::max and std::clamp are templates: built here, with -mavx2, they would be
// weak definitions the linker could pick for the rest of the program. These are the same
// comparisons in the same order, and templates as well: gcc then inlines and allocates the
// registers of the row loops as it did with the standard ones (other forms cost the unscaled
// blits about 15%).
template <typename T>
constexpr const T& smaller(const T& a, const T& b) {
    return b < a ? b : a;
}
template <typename T>
constexpr const T& larger(const T& a, const T& b) {
    return a < b ? b : a;
}
template <typename T>
constexpr const T& clamped(const T& value, const T& low, const T& high) {
    return smaller(larger(value, low), high);
}

// ---- The blit ----

using Wide = __m256i;

[[gnu::always_inline]] inline Wide splat8(uint32_t value) { return _mm256_set1_epi32(static_cast<int>(value)); }

// Per lane: `yes` where the mask is all ones, `no` where it is zero.
[[gnu::always_inline]] inline Wide select8(Wide mask, Wide yes, Wide no) { return _mm256_blendv_epi8(no, yes, mask); }

// A bit per lane (bit i for lane i) where the lane is all ones.
[[gnu::always_inline]] inline uint32_t laneBits(Wide mask) {
    return static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(mask)));
}

// Lanes 0 .. count-1 all ones, the others zero.
[[gnu::always_inline]] inline Wide firstLanes(int32_t count) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// What stays the same for every block of one blit.
struct WideConstants {
    Wide hidingLimit;  // see hiddenLanes8()
    Wide depthKey;     // the drawing depth's low byte in the depth byte
    Wide opacity;      // Fixed, below 1.0 and not negative in fades: it fits a lane's low 16 bits
    Wide opaqueFadeWeights;  // fadeWeights8() of an opaque pixel
};

// A surface pixel hides the picture when its depth byte d is keyed (not 0) and below the
// drawing depth: when d - 1 < limit, unsigned, with limit the depth less one and cut to
// 0..255. Compared on whole words, that is (pixel - 2^24) < limit << 24, where the colour bits
// below cannot change the outcome and a d of 0 wraps to the top; both sides are offset by 2^31
// for the signed compare, and the pixel's two offsets make one addition.
Wide hidingLimitOf8(int32_t depth) {
    const auto limit = static_cast<uint32_t>(clamped(depth, 1, 256) - 1);
    return splat8((limit << kDepthShift) ^ 0x80000000u);
}

[[gnu::always_inline]] inline Wide hiddenLanes8(Wide under, Wide hidingLimit) {
    return _mm256_cmpgt_epi32(hidingLimit, _mm256_add_epi32(under, splat8(0x80000000u - (1u << kDepthShift))));
}

// overlay() per lane. The surface colour's share under alpha code a is one or two of its
// half, quarter and eighth (each channel shifted right and masked), or for a = 1 the colour
// less its eighth: a first part plus or minus a second. Each lane looks up the shifts and
// masks of its two parts, and the second part's sign, by its alpha code (0 and 7: nothing).
[[gnu::always_inline]] inline Wide overlay8(Wide pixels, Wide under, Wide depthKey) {
    const Wide alpha = _mm256_srli_epi32(pixels, kAlphaShift);
    const Wide firstShift = _mm256_permutevar8x32_epi32(_mm256_setr_epi32(0, 0, 1, 1, 1, 2, 2, 0), alpha);
    const Wide firstMask = _mm256_permutevar8x32_epi32(
        _mm256_setr_epi32(0, 0xFFFFFF, 0x7F7F7F, 0x7F7F7F, 0x7F7F7F, 0x3F3F3F, 0x3F3F3F, 0), alpha);
    const Wide secondShift = _mm256_permutevar8x32_epi32(_mm256_setr_epi32(0, 3, 2, 3, 0, 3, 0, 0), alpha);
    const Wide secondMask = _mm256_permutevar8x32_epi32(
        _mm256_setr_epi32(0, 0x1F1F1F, 0x3F3F3F, 0x1F1F1F, 0, 0x1F1F1F, 0, 0), alpha);
    // vpsignd negates where the sign is negative and keeps the part where it is positive.
    const Wide secondSign = _mm256_permutevar8x32_epi32(_mm256_setr_epi32(1, -1, 1, 1, 1, 1, 1, 1), alpha);
    const Wide first = _mm256_and_si256(_mm256_srlv_epi32(under, firstShift), firstMask);
    const Wide second = _mm256_and_si256(_mm256_srlv_epi32(under, secondShift), secondMask);
    const Wide shown = _mm256_add_epi32(first, _mm256_sign_epi32(second, secondSign));
    const Wide source = _mm256_or_si256(_mm256_and_si256(pixels, splat8(kColourMask)), depthKey);
    return _mm256_add_epi32(source, shown);
}

// fade()'s weights per lane for an opacity in [0, 1.0): (opacity, shown - 1.0) as 16-bit
// pairs; shown is (alpha × opacity) >> 3, and the opacity itself for opaque pixels.
[[gnu::always_inline]] inline Wide fadeWeights8(Wide pixels, Wide opacity) {
    const Wide alpha = _mm256_srli_epi32(pixels, kAlphaShift);
    const Wide partShown = _mm256_srli_epi32(_mm256_madd_epi16(alpha, opacity), 3);
    const Wide shown = select8(_mm256_cmpeq_epi32(alpha, splat8(7)), opacity, partShown);
    return _mm256_or_si256(opacity, _mm256_slli_epi32(_mm256_sub_epi32(shown, splat8(kFixedOne)), 16));
}

Wide opaqueFadeWeights8(Fixed opacity) {
    return splat8(static_cast<uint32_t>(opacity) | static_cast<uint32_t>(opacity - kFixedOne) << 16);
}

// fade() per lane: source × opacity + target × (1.0 - shown) per channel, exact, as 16-bit
// multiply-adds of (source, -target) against (opacity, shown - 1.0). Blue and red of four
// pixels share a register after interleaving (unpacking and packing stay inside each 128-bit
// half, so the lanes come back in order); green goes alone.
[[gnu::always_inline]] inline Wide fade8(Wide pixels, Wide under, Wide weights) {
    const Wide blueRed = splat8(0x00FF00FF);
    const Wide sources = _mm256_and_si256(pixels, blueRed);
    const Wide targets = _mm256_sub_epi16(_mm256_setzero_si256(), _mm256_and_si256(under, blueRed));
    const Wide low = _mm256_madd_epi16(_mm256_unpacklo_epi16(sources, targets), _mm256_unpacklo_epi32(weights, weights));
    const Wide high =
        _mm256_madd_epi16(_mm256_unpackhi_epi16(sources, targets), _mm256_unpackhi_epi32(weights, weights));
    const Wide mixedBlueRed =
        _mm256_packs_epi32(_mm256_srli_epi32(low, kFixedShift), _mm256_srli_epi32(high, kFixedShift));
    const Wide green = splat8(kChannelMask << 8);
    const Wide greenPair = _mm256_or_si256(_mm256_srli_epi32(_mm256_and_si256(pixels, green), 8),
                                           _mm256_sub_epi32(_mm256_setzero_si256(),
                                                            _mm256_slli_epi32(_mm256_and_si256(under, green), 8)));
    const Wide mixedGreen = _mm256_srli_epi32(_mm256_madd_epi16(greenPair, weights), kFixedShift);
    return _mm256_and_si256(_mm256_or_si256(mixedBlueRed, _mm256_slli_epi32(mixedGreen, 8)), splat8(kColourMask));
}

// The drawn words of eight picture pixels over `under`, before hiding.
template <bool kFullOpacity, bool kAllOpaque>
[[gnu::always_inline]] inline Wide drawnWords(Wide pixels, Wide under, const WideConstants& constants) {
    if constexpr (kFullOpacity && kAllOpaque) {
        return _mm256_or_si256(_mm256_and_si256(pixels, splat8(kColourMask)), constants.depthKey);
    } else if constexpr (kFullOpacity) {
        return overlay8(pixels, under, constants.depthKey);
    } else if constexpr (kAllOpaque) {
        return fade8(pixels, under, constants.opaqueFadeWeights);
    } else {
        return fade8(pixels, under, fadeWeights8(pixels, constants.opacity));
    }
}

// Draws eight picture pixels into the surface at target, except in the `undrawn` lanes and
// where nearer surface pixels hide them; counts the hidden lanes (as -1s) in hiddenCount.
template <bool kFullOpacity, bool kAllOpaque>
[[gnu::always_inline]] inline void drawBlock(Wide pixels, uint32_t* target, Wide undrawn, const WideConstants& constants,
                           Wide& hiddenCount) {
    const Wide under = _mm256_loadu_si256(reinterpret_cast<const Wide*>(target));
    const Wide hidden = _mm256_andnot_si256(undrawn, hiddenLanes8(under, constants.hidingLimit));
    const Wide drawn = drawnWords<kFullOpacity, kAllOpaque>(pixels, under, constants);
    _mm256_storeu_si256(reinterpret_cast<Wide*>(target), select8(_mm256_or_si256(hidden, undrawn), under, drawn));
    hiddenCount = _mm256_add_epi32(hiddenCount, hidden);
}

// The same for the first lanes of a block at the end of a row: only the `drawable` lanes of
// the surface are read or written.
template <bool kFullOpacity>
[[gnu::always_inline]] inline void drawPartBlock(Wide pixels, uint32_t* target, Wide drawable, const WideConstants& constants,
                               Wide& hiddenCount) {
    const Wide under = _mm256_maskload_epi32(reinterpret_cast<const int*>(target), drawable);
    const Wide hidden = _mm256_and_si256(drawable, hiddenLanes8(under, constants.hidingLimit));
    const Wide drawn = drawnWords<kFullOpacity, false>(pixels, under, constants);
    _mm256_maskstore_epi32(reinterpret_cast<int*>(target), _mm256_andnot_si256(hidden, drawable), drawn);
    hiddenCount = _mm256_add_epi32(hiddenCount, hidden);
}

// The picture column of each of eight surface pixels from the one sampling `sample`, Fixed.
[[gnu::always_inline]] inline Wide sampleColumns(Fixed sample, const Wide& laneSteps) {
    return _mm256_srai_epi32(_mm256_add_epi32(_mm256_set1_epi32(sample), laneSteps), kFixedShift);
}

// Eight picture pixels from column `first` on, of which lane i takes the one at offset i.
[[gnu::always_inline]] inline Wide pixelsNear(const uint32_t* source, int32_t first, Wide offsets) {
    return _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const Wide*>(source + first)), offsets);
}

// The picture pixels of eight surface pixels from the one sampling `sample`: one load at
// natural size. Scaled, the columns of one block lie within 8 pixels of the first one when
// enlarging and within 16 when shrinking to no less than half; those are one or two loads
// whose pixels each lane picks, unless the 8 or 16 would reach past the row. Other blocks
// gather their pixels one by one.
template <bool kNaturalSize>
[[gnu::always_inline]] inline Wide samplePixels(const RowWalk& row, Fixed sample, Fixed step, const Wide& laneSteps) {
    const int32_t first = sample >> kFixedShift;
    if constexpr (kNaturalSize) {
        return _mm256_loadu_si256(reinterpret_cast<const Wide*>(row.source + first));
    } else {
        const Wide columns = sampleColumns(sample, laneSteps);
        const Wide offsets = _mm256_sub_epi32(columns, _mm256_set1_epi32(first));
        if (step <= kFixedOne && first + 8 <= row.sourceWidth) {
            return pixelsNear(row.source, first, offsets);
        }
        if (step <= 2 * kFixedOne && first + 16 <= row.sourceWidth) {
            return select8(_mm256_cmpgt_epi32(offsets, _mm256_set1_epi32(7)), pixelsNear(row.source, first + 8, offsets),
                           pixelsNear(row.source, first, offsets));
        }
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(row.source), columns, 4);
    }
}

// The same for the first `count` surface pixels only; the other lanes read nothing and hold 0,
// which is a transparent pixel.
template <bool kNaturalSize>
[[gnu::always_inline]] inline Wide sampleFirstPixels(const uint32_t* source, Fixed sample, const Wide& laneSteps, Wide lanes) {
    if constexpr (kNaturalSize) {
        return _mm256_maskload_epi32(reinterpret_cast<const int*>(source + (sample >> kFixedShift)), lanes);
    } else {
        return _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int*>(source),
                                           sampleColumns(sample, laneSteps), lanes, 4);
    }
}

// Where a row's walk stands: the surface pixel and its sample.
struct WalkPosition {
    int32_t x;
    Fixed sample;
};

// Skips the transparent run whose first pixel is sampled at the position.
template <bool kNaturalSize>
[[gnu::always_inline]] inline void skipRun(const RowWalk& row, const Sampling& sampling, WalkPosition& at) {
    const uint32_t transparent = row.source[at.sample >> kFixedShift];
    if constexpr (kNaturalSize) {
        // skippedBy() is the run count itself, and the sample moves with x.
        const auto passed = static_cast<int32_t>(transparent >> kRunShift) + 1;
        at.x += passed;
        at.sample += passed << kFixedShift;
    } else {
        const int32_t skipped = skippedBy(transparent, sampling.scale);
        at.x += skipped + 1;
        at.sample += (skipped + 1) * sampling.inverseScale;
    }
}

// One row, eight surface pixels a block. A block whose samples hold a transparent pixel draws
// the lanes before it, then skips the transparent run as drawStep() does; fewer than eight
// pixels at the end of the row are drawn in masked lanes the same way.
template <bool kFullOpacity, bool kNaturalSize>
void drawRowInWideLanes(const RowWalk& row, const Sampling& sampling, const WideConstants& constants,
                             Wide& hiddenCount) {
    const Fixed step = sampling.inverseScale;
    const Wide laneSteps = _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32(step));
    WalkPosition at{row.left, row.firstSample};
    while (row.right - at.x >= 8) {
        const Wide pixels = samplePixels<kNaturalSize>(row, at.sample, step, laneSteps);
        const Wide alphaBits = _mm256_and_si256(pixels, splat8(kOpaqueAlpha));
        if (laneBits(_mm256_cmpeq_epi32(alphaBits, splat8(kOpaqueAlpha))) == 0xFF) {
            drawBlock<kFullOpacity, true>(pixels, row.target + at.x, _mm256_setzero_si256(), constants, hiddenCount);
            at.x += 8;
            at.sample += 8 * step;
            continue;
        }
        const uint32_t transparentLanes = laneBits(_mm256_cmpeq_epi32(alphaBits, _mm256_setzero_si256()));
        if (transparentLanes == 0) {
            drawBlock<kFullOpacity, false>(pixels, row.target + at.x, _mm256_setzero_si256(), constants, hiddenCount);
            at.x += 8;
            at.sample += 8 * step;
            continue;
        }
        const int32_t drawnLanes = __builtin_ctz(transparentLanes);
        if (drawnLanes > 0) {
            drawBlock<kFullOpacity, false>(pixels, row.target + at.x, _mm256_xor_si256(firstLanes(drawnLanes),
                                                                                       _mm256_set1_epi32(-1)),
                                           constants, hiddenCount);
            at.x += drawnLanes;
            at.sample += drawnLanes * step;
        }
        skipRun<kNaturalSize>(row, sampling, at);
    }
    while (at.x < row.right) {
        const Wide lanes = firstLanes(row.right - at.x);
        const Wide pixels = sampleFirstPixels<kNaturalSize>(row.source, at.sample, laneSteps, lanes);
        const Wide alphaBits = _mm256_and_si256(pixels, splat8(kOpaqueAlpha));
        // The lanes past the row read 0, so there is always a transparent lane.
        const uint32_t transparentLanes = laneBits(_mm256_cmpeq_epi32(alphaBits, _mm256_setzero_si256()));
        const int32_t drawnLanes = __builtin_ctz(transparentLanes);
        if (drawnLanes > 0) {
            drawPartBlock<kFullOpacity>(pixels, row.target + at.x, firstLanes(drawnLanes), constants, hiddenCount);
            at.x += drawnLanes;
            at.sample += drawnLanes * step;
        }
        if (at.x < row.right) {
            skipRun<kNaturalSize>(row, sampling, at);
        }
    }
}

// Lanes holding a transparent pixel.
[[gnu::always_inline]] inline Wide transparentLanes(Wide pixels) {
    return _mm256_cmpeq_epi32(_mm256_and_si256(pixels, splat8(kOpaqueAlpha)), _mm256_setzero_si256());
}

// One row, scaled, of a picture whose run counts are true (Picture::m_trueRuns). A skip would
// then pass surface pixels that sample transparent pixels only (a run of n more pixels is
// skipped over n × scale surface pixels, whose samples stay inside it), so drawing every pixel
// that is not transparent draws the same. A block that starts on a transparent pixel skips its
// run; any other draws its eight lanes but the transparent ones, with no stop in the middle.
// The row's last block ends at the row's end, its lanes that the blocks before already drew
// left undrawn, so no lane reaches past the row; rows narrower than eight go through masked
// lanes. (Reading pixels so soon after their store waits for it, but scaled rows seldom end
// in a block that is not transparent, and masked gathers for them cost more.)
template <bool kFullOpacity>
void drawScaledRowOfTrueRuns(const RowWalk& row, const Sampling& sampling, const WideConstants& constants,
                                  Wide& hiddenCount) {
    const Fixed step = sampling.inverseScale;
    const Wide laneSteps = _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32(step));
    if (row.right - row.left < 8) {
        const Wide lanes = firstLanes(row.right - row.left);
        const Wide pixels = sampleFirstPixels<false>(row.source, row.firstSample, laneSteps, lanes);
        drawPartBlock<kFullOpacity>(pixels, row.target + row.left, _mm256_andnot_si256(transparentLanes(pixels), lanes),
                                    constants, hiddenCount);
        return;
    }
    const int32_t lastBlock = row.right - 8;
    WalkPosition at{row.left, row.firstSample};
    while (at.x < lastBlock) {
        const Wide pixels = samplePixels<false>(row, at.sample, step, laneSteps);
        const Wide alphaBits = _mm256_and_si256(pixels, splat8(kOpaqueAlpha));
        if (laneBits(_mm256_cmpeq_epi32(alphaBits, splat8(kOpaqueAlpha))) == 0xFF) {
            drawBlock<kFullOpacity, true>(pixels, row.target + at.x, _mm256_setzero_si256(), constants, hiddenCount);
        } else {
            const Wide transparent = _mm256_cmpeq_epi32(alphaBits, _mm256_setzero_si256());
            if ((laneBits(transparent) & 1) != 0) {
                skipRun<false>(row, sampling, at);
                continue;
            }
            drawBlock<kFullOpacity, false>(pixels, row.target + at.x, transparent, constants, hiddenCount);
        }
        at.x += 8;
        at.sample += 8 * step;
    }
    if (at.x < row.right && row.source[at.sample >> kFixedShift] >> kAlphaShift == 0) {
        skipRun<false>(row, sampling, at);
    }
    if (at.x < row.right) {
        const Fixed lastSample = row.firstSample + (lastBlock - row.left) * step;
        const Wide pixels = samplePixels<false>(row, lastSample, step, laneSteps);
        const Wide drawnBefore = firstLanes(at.x - lastBlock);
        drawBlock<kFullOpacity, false>(pixels, row.target + lastBlock,
                                       _mm256_or_si256(transparentLanes(pixels), drawnBefore), constants, hiddenCount);
    }
}

// The same at natural size, where surface pixel x samples picture pixel source[x] and the walk
// keeps no sample of its own. It walks only the surface pixels over the picture row's span of
// pixels that are not transparent (Picture::m_contentSpans), so no run before or after it
// costs a step. A block that would reach past the row's end is drawn in masked lanes instead
// of being moved back over pixels just drawn: reading those so soon after their store would
// wait for the store to finish.
template <bool kFullOpacity>
void drawUnscaledRowOfTrueRuns(const RowWalk& row, uint32_t contentSpan, const WideConstants& constants,
                                    Wide& hiddenCount) {
    // source[x] is the picture pixel of surface pixel x.
    const int32_t columnOffset = (row.firstSample >> kFixedShift) - row.left;
    const uint32_t* source = row.source + columnOffset;
    const int32_t to = smaller(row.right, static_cast<int32_t>(contentSpan >> 16) - columnOffset);
    int32_t x = larger(row.left, static_cast<int32_t>(contentSpan & 0xFFFF) - columnOffset);
    while (x < to) {
        if (row.right - x < 8) {
            const Wide lanes = firstLanes(row.right - x);
            const Wide pixels = _mm256_maskload_epi32(reinterpret_cast<const int*>(source + x), lanes);
            drawPartBlock<kFullOpacity>(pixels, row.target + x, _mm256_andnot_si256(transparentLanes(pixels), lanes),
                                        constants, hiddenCount);
            return;
        }
        const Wide pixels = _mm256_loadu_si256(reinterpret_cast<const Wide*>(source + x));
        const Wide alphaBits = _mm256_and_si256(pixels, splat8(kOpaqueAlpha));
        if (laneBits(_mm256_cmpeq_epi32(alphaBits, splat8(kOpaqueAlpha))) == 0xFF) {
            drawBlock<kFullOpacity, true>(pixels, row.target + x, _mm256_setzero_si256(), constants, hiddenCount);
            x += 8;
            continue;
        }
        const Wide transparent = _mm256_cmpeq_epi32(alphaBits, _mm256_setzero_si256());
        if ((laneBits(transparent) & 1) != 0) {
            x += static_cast<int32_t>(source[x] >> kRunShift) + 1;
            continue;
        }
        drawBlock<kFullOpacity, false>(pixels, row.target + x, transparent, constants, hiddenCount);
        x += 8;
    }
}

// Kept a function of its own per case, as the row loops were measured: inlined, all four into
// one entry, gcc lays out and allocates the registers of the hot loops differently, and slower.
template <bool kFullOpacity, bool kNaturalSize>
[[gnu::noinline]] int32_t drawRowsInWideLanes(const BlitRows& rows, const Sampling& sampling) {
    const WideConstants constants{hidingLimitOf8(sampling.depth), splat8(depthKeyOf(sampling)),
                                  _mm256_set1_epi32(sampling.opacity), opaqueFadeWeights8(sampling.opacity)};
    Wide hiddenCount = _mm256_setzero_si256();
    const Fixed firstSample = (rows.area.left - rows.originX) * sampling.inverseScale;
    Fixed rowSample = (rows.area.top - rows.originY) * sampling.inverseScale;
    for (int32_t y = rows.area.top; y < rows.area.bottom; ++y) {
        const RowWalk row = rowWalkOf(rows, y, rowSample, firstSample);
        if (!rows.trueRuns) {
            drawRowInWideLanes<kFullOpacity, kNaturalSize>(row, sampling, constants, hiddenCount);
        } else if constexpr (kNaturalSize) {
            drawUnscaledRowOfTrueRuns<kFullOpacity>(row, rows.contentSpans[rowSample >> kFixedShift], constants,
                                                    hiddenCount);
        } else {
            drawScaledRowOfTrueRuns<kFullOpacity>(row, sampling, constants, hiddenCount);
        }
        rowSample += sampling.inverseScale;
    }
    // The lanes counted hidden pixels as -1 each.
    alignas(32) int32_t counts[8];
    _mm256_store_si256(reinterpret_cast<Wide*>(counts), hiddenCount);
    int32_t hidden = 0;
    for (const int32_t count : counts) {
        hidden -= count;
    }
    return hidden;
}


int32_t drawInWideLanes(const BlitRows& rows, const Sampling& sampling) {
    const bool naturalSize = sampling.inverseScale == kFixedOne;
    if (sampling.opacity == kFixedOne) {
        return naturalSize ? drawRowsInWideLanes<true, true>(rows, sampling)
                           : drawRowsInWideLanes<true, false>(rows, sampling);
    }
    return naturalSize ? drawRowsInWideLanes<false, true>(rows, sampling)
                       : drawRowsInWideLanes<false, false>(rows, sampling);
}

int32_t drawBlitRows(const BlitRows& rows, const Sampling& sampling) {
    if (!lanesCanDraw(sampling, sampling.opacity == kFixedOne)) {
        return plain::drawBlitRows(rows, sampling);
    }
    return drawInWideLanes(rows, sampling);
}

// ---- The row copy and the opaque fill ----

// One row's copy: words one by one up to a 32-byte boundary of the target, then 32 bytes a
// store, four stores a turn, so that no store straddles two cache lines and the loop's own
// instructions stay few; then the rest.
void copyRow(const uint32_t* from, uint32_t* to, std::size_t count) {
    std::size_t i = 0;
    for (; i < count && reinterpret_cast<std::uintptr_t>(to + i) % 32 != 0; ++i) {
        to[i] = from[i];
    }
    for (; count - i >= 32; i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i + 8));
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i + 16));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i + 24));
        _mm256_store_si256(reinterpret_cast<__m256i*>(to + i), a);
        _mm256_store_si256(reinterpret_cast<__m256i*>(to + i + 8), b);
        _mm256_store_si256(reinterpret_cast<__m256i*>(to + i + 16), c);
        _mm256_store_si256(reinterpret_cast<__m256i*>(to + i + 24), d);
    }
    for (; count - i >= 8; i += 8) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(to + i),
                           _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i)));
    }
    for (; i < count; ++i) {
        to[i] = from[i];
    }
}

void copyRows(const uint32_t* from, std::ptrdiff_t fromStride, uint32_t* to, std::ptrdiff_t toStride,
              std::size_t width, std::size_t rows) {
    for (std::size_t y = 0; y < rows; ++y) {
        copyRow(from + static_cast<std::ptrdiff_t>(y) * fromStride, to + static_cast<std::ptrdiff_t>(y) * toStride,
                width);
    }
}

// Each row's pixels up to a 32-byte boundary one by one, then 32-byte stores that never
// straddle two cache lines, four a turn (a turn of one store was held to a turn a cycle, at
// half the speed the stores can go), then the rest.
void fillOpaque(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    const __m256i eight = _mm256_set1_epi32(static_cast<int>(colour));
    for (std::size_t y = 0; y < rows; ++y) {
        uint32_t* row = first + static_cast<std::ptrdiff_t>(y) * stride;
        std::size_t x = 0;
        for (; x < width && reinterpret_cast<std::uintptr_t>(row + x) % 32 != 0; ++x) {
            row[x] = colour;
        }
        for (; width - x >= 32; x += 32) {
            _mm256_store_si256(reinterpret_cast<__m256i*>(row + x), eight);
            _mm256_store_si256(reinterpret_cast<__m256i*>(row + x + 8), eight);
            _mm256_store_si256(reinterpret_cast<__m256i*>(row + x + 16), eight);
            _mm256_store_si256(reinterpret_cast<__m256i*>(row + x + 24), eight);
        }
        for (; width - x >= 8; x += 8) {
            _mm256_store_si256(reinterpret_cast<__m256i*>(row + x), eight);
        }
        for (; x < width; ++x) {
            row[x] = colour;
        }
    }
}

// ---- The translucent fills ----
// The same arithmetic as the plain fills eight pixels a step, two steps a turn; the pixels at
// a row's end that make no whole step go through the word-at-a-time blend.

struct HalfLanes {
    __m256i half;
    __m256i operator()(__m256i pixels) const {
        return _mm256_add_epi32(_mm256_and_si256(_mm256_srli_epi32(pixels, 1), _mm256_set1_epi32(0x7F7F7F)), half);
    }
};

struct QuarterLanes {
    __m256i threeQuarters;
    __m256i operator()(__m256i pixels) const {
        return _mm256_add_epi32(_mm256_and_si256(_mm256_srli_epi32(pixels, 2), _mm256_set1_epi32(0x3F3F3F)),
                                threeQuarters);
    }
};

// Each channel widened to the upper byte of a 16-bit lane, so that the high half of its
// product with the weight is exactly channel·weight/256 rounded down, then packed back; the
// depth byte's lanes are weighed by 0. Unpacking and packing stay inside each 128-bit half, so
// every pixel comes back to its own lane.
struct MixLanes {
    __m256i keeps;
    __m256i share;
    __m256i operator()(__m256i pixels) const {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i low = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, pixels), keeps);
        const __m256i high = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, pixels), keeps);
        return _mm256_add_epi32(_mm256_packus_epi16(low, high), share);
    }
};

template <typename Lanes, typename Blend>
void blendRows(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, const Lanes& lanes,
               Blend blend) {
    for (std::size_t y = 0; y < rows; ++y) {
        uint32_t* row = first + static_cast<std::ptrdiff_t>(y) * stride;
        const auto at = [row](std::size_t x) { return reinterpret_cast<__m256i*>(row + x); };
        std::size_t x = 0;
        for (; width - x >= 16; x += 16) {
            const __m256i firstEight = _mm256_loadu_si256(at(x));
            const __m256i secondEight = _mm256_loadu_si256(at(x + 8));
            _mm256_storeu_si256(at(x), lanes(firstEight));
            _mm256_storeu_si256(at(x + 8), lanes(secondEight));
        }
        for (; width - x >= 8; x += 8) {
            _mm256_storeu_si256(at(x), lanes(_mm256_loadu_si256(at(x))));
        }
        for (; x < width; ++x) {
            row[x] = blend(row[x]);
        }
    }
}

void fillHalf(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    const uint32_t half = halfOf(colour);
    blendRows(first, stride, width, rows, HalfLanes{_mm256_set1_epi32(static_cast<int>(half))},
              [half](uint32_t p) { return ((p >> 1) & 0x7F7F7F) + half; });
}

void fillQuarter(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    const uint32_t threeQuarters = threeQuartersOf(colour);
    blendRows(first, stride, width, rows, QuarterLanes{_mm256_set1_epi32(static_cast<int>(threeQuarters))},
              [threeQuarters](uint32_t p) { return ((p >> 2) & 0x3F3F3F) + threeQuarters; });
}

void fillMixed(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    const MixWeights weights = mixWeightsOf(colour);
    const auto k = static_cast<int16_t>(weights.keep);
    const MixLanes lanes{_mm256_set_epi16(0, k, k, k, 0, k, k, k, 0, k, k, k, 0, k, k, k),
                         _mm256_set1_epi32(static_cast<int>(weights.colourShare))};
    blendRows(first, stride, width, rows, lanes,
              [weights](uint32_t p) { return mixChannels(p, weights.keep, weights.colourShare); });
}

// ---- The 5-6-5 rows ----

// Four pixels' 5-6-5 values shifted up by 5 bits, packed to 16 bits (see Sse2Kernels.cpp):
// red and blue placed by one multiply-add of 16-bit pairs, green already in place, and each
// value's top bit moved to its lane's sign for the signed pack.
__m256i to565Lanes(__m256i pixels) {
    const __m256i placed = _mm256_madd_epi16(_mm256_and_si256(pixels, _mm256_set1_epi32(0x00F800F8)),
                                             _mm256_set1_epi32(0x20000004));
    const __m256i value = _mm256_or_si256(placed, _mm256_and_si256(pixels, _mm256_set1_epi32(0x0000FC00)));
    return _mm256_srai_epi32(_mm256_slli_epi32(value, 16 - 5), 16);
}

__m128i to565Lanes(__m128i pixels) {
    const __m128i placed =
        _mm_madd_epi16(_mm_and_si128(pixels, _mm_set1_epi32(0x00F800F8)), _mm_set1_epi32(0x20000004));
    const __m128i value = _mm_or_si128(placed, _mm_and_si128(pixels, _mm_set1_epi32(0x0000FC00)));
    return _mm_srai_epi32(_mm_slli_epi32(value, 16 - 5), 16);
}

// Sixteen pixels a step; the pack works inside each 128-bit half, which leaves the four groups
// of four in the order 0, 2, 1, 3, and one permute of 64-bit quarters puts them back. Then
// eight in 128-bit registers, then one at a time.
void convertTo565(const uint32_t* from, uint16_t* to, std::size_t count) {
    std::size_t i = 0;
    for (; count - i >= 16; i += 16) {
        const __m256i low = to565Lanes(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i)));
        const __m256i high = to565Lanes(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i + 8)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i),
                            _mm256_permute4x64_epi64(_mm256_packs_epi32(low, high), 0xD8));
    }
    if (count - i >= 8) {
        const __m128i low = to565Lanes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
        const __m128i high = to565Lanes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i + 4)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_packs_epi32(low, high));
        i += 8;
    }
    for (; i < count; ++i) {
        to[i] = to565(from[i]);
    }
}

}  // namespace

extern const PixelKernels kAvx2Kernels = {
    "avx2",       copyRows,     fillOpaque,       fillHalf,           fillQuarter, fillMixed,
    drawBlitRows, convertTo565, plain::turnTo565, plain::stretchTo565,
};

}  // namespace vornel::kernels
