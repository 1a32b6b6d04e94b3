// The copy into display memory: only the rectangle being painted, upright rows converted many
// pixels at a time, turned ones in tiles.
#include "shell/DisplayMemory.h"

#include <algorithm>
#include <cstddef>

#include "core/Processor.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#include <immintrin.h>
#endif

namespace vornel {
namespace {

#if defined(__SSE2__)
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

// The same arithmetic in AVX2 registers, sixteen pixels a step. The pack works inside each
// 128-bit half, which leaves the four groups of four in the order 0, 2, 1, 3; one permute of
// 64-bit quarters puts them back.
[[gnu::target("avx2")]] std::size_t convertSixteens(const uint32_t* from, uint16_t* to, std::size_t count) {
    const __m256i redBlueMask = _mm256_set1_epi32(0x00F800F8);
    const __m256i placing = _mm256_set1_epi32(0x20000004);
    const __m256i greenMask = _mm256_set1_epi32(0x0000FC00);
    std::size_t i = 0;
    for (; count - i >= 16; i += 16) {
        __m256i halves[2];
        for (int half = 0; half < 2; ++half) {
            const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i + 8 * half));
            const __m256i placed = _mm256_madd_epi16(_mm256_and_si256(pixels, redBlueMask), placing);
            const __m256i value = _mm256_or_si256(placed, _mm256_and_si256(pixels, greenMask));
            halves[half] = _mm256_srai_epi32(_mm256_slli_epi32(value, 16 - 5), 16);
        }
        const __m256i packed = _mm256_packs_epi32(halves[0], halves[1]);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i), _mm256_permute4x64_epi64(packed, 0xD8));
    }
    return i;
}
#endif

// A run of 32-bit pixels as 5-6-5; sixteen at a time where SSE2 is there (two groups of
// eight a turn halve the loop's own instructions) or AVX2, which gives the same values as
// to565() by other shifts.
void convertRow(const uint32_t* from, uint16_t* to, std::size_t count) {
    std::size_t i = 0;
#if defined(__SSE2__)
    if (processorHasAvx2()) {
        i = convertSixteens(from, to, count);
    }
    for (; count - i >= 16; i += 16) {
        convertEight(from + i, to + i);
        convertEight(from + i + 8, to + i + 8);
    }
    if (count - i >= 8) {
        convertEight(from + i, to + i);
        i += 8;
    }
#endif
    for (; i < count; ++i) {
        to[i] = DisplayMemory::to565(from[i]);
    }
}

// A turned copy of source columns [left, right) and rows [top, bottom): pixel (x, y) goes to
// frame index rowStart(y) + x × columnStep. A source row runs down a frame column, so a row at
// a time would write one pixel to every frame row it crosses; tiles of 16 × 16 pixels write 16
// neighbours into each frame row they touch while its cache line is still at hand. Each pixel
// is written once, so the order of the writes cannot change what the frame ends up holding.
template <typename RowStart>
void copyInTiles(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame, int32_t left, int32_t top,
                 int32_t right, int32_t bottom, const RowStart& rowStart, std::ptrdiff_t columnStep) {
    constexpr int32_t kTile = 16;
    for (int32_t tileTop = top; tileTop < bottom; tileTop += std::min(kTile, bottom - tileTop)) {
        const int32_t tileBottom = tileTop + std::min(kTile, bottom - tileTop);
        for (int32_t tileLeft = left; tileLeft < right; tileLeft += std::min(kTile, right - tileLeft)) {
            const int32_t tileRight = tileLeft + std::min(kTile, right - tileLeft);
            for (int32_t y = tileTop; y < tileBottom; ++y) {
                const uint32_t* from = surface + static_cast<std::ptrdiff_t>(y) * surfaceWidth;
                std::ptrdiff_t at = rowStart(y) + tileLeft * columnStep;
                for (int32_t x = tileLeft; x < tileRight; ++x) {
                    frame[at] = DisplayMemory::to565(from[x]);
                    at += columnStep;
                }
            }
        }
    }
}

}  // namespace

void DisplayMemory::copyToFrameBuffer(const Surface32& surface, const Frame& frame, const Rect& paint,
                                      const Rect& window, bool sameWidth) {
    if (surface.pixels == nullptr || frame.view.pixels == nullptr) {
        return;
    }
    const int32_t surfaceWidth = surface.stride;
    const int32_t frameWidth = frame.width;
    const int32_t frameHeight = frame.view.rows;
    const int32_t xStride = frame.xStride;
    const int32_t yStride = frame.view.stride;
    // The paint cut to the surface and to the window's size; source pixels before row and
    // column 0 do not exist.
    const Rect source = intersect(paint, {0, 0, std::min(surface.stride, window.width()),
                                          std::min(surface.rows, window.height())});
    if (sameWidth) {
        const Rect span = clipToFrame(source, window.left, window.top, frameWidth, frameHeight);
        if (!span.isEmpty()) {
            copyUpright(surface.pixels, surfaceWidth, frame.view.pixels, yStride, span, window);
        }
        return;
    }
    // Turned: a source row runs down or up a frame column, so the window's top and left are
    // measured along the frame's width and height respectively.
    const Rect span = clipToFrame(source, window.left, window.top, frameHeight, frameWidth);
    if (span.isEmpty()) {
        return;
    }
    if (Platform::current().displayOrientation() == Platform::kOrientation270) {
        copyTurned270(surface.pixels, surfaceWidth, frame.view.pixels, frameWidth, xStride, yStride, span, window);
    } else {
        copyTurnedOther(surface.pixels, surfaceWidth, frame.view.pixels, frameHeight, xStride, yStride, span, window);
    }
}

Rect DisplayMemory::clipToFrame(Rect span, int32_t windowX, int32_t windowY, int32_t xLimit, int32_t yLimit) {
    // 64-bit: a window placed far out must not wrap back into the frame.
    span.left = static_cast<int32_t>(std::max<int64_t>(span.left, -int64_t{windowX}));
    span.top = static_cast<int32_t>(std::max<int64_t>(span.top, -int64_t{windowY}));
    span.right = static_cast<int32_t>(std::min<int64_t>(span.right, int64_t{xLimit} - windowX));
    span.bottom = static_cast<int32_t>(std::min<int64_t>(span.bottom, int64_t{yLimit} - windowY));
    return span;
}

// The frame has the surface's width: each row goes out as consecutive pixels.
void DisplayMemory::copyUpright(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame, int32_t yStride,
                                const Rect& span, const Rect& window) {
    const auto count = static_cast<std::size_t>(span.right - span.left);
    if (span.left == 0 && span.right == surfaceWidth && yStride == surfaceWidth && window.left == 0) {
        // Whole rows on both sides, as a full paint copies them: one run through them all.
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(span.top) * surfaceWidth;
        convertRow(surface + first, frame + (static_cast<std::ptrdiff_t>(window.top) * yStride + first),
                   count * static_cast<std::size_t>(span.bottom - span.top));
        return;
    }
    for (int32_t y = span.top; y < span.bottom; ++y) {
        const uint32_t* from = surface + static_cast<std::ptrdiff_t>(y) * surfaceWidth + span.left;
        const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(window.top + y) * yStride + window.left;
        convertRow(from, frame + (row + span.left), count);
    }
}

// Turned 270 degrees: source rows become frame columns counted from the frame's right edge.
void DisplayMemory::copyTurned270(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame,
                                  int32_t frameWidth, int32_t xStride, int32_t yStride, const Rect& span,
                                  const Rect& window) {
    // Source (x, y) lands at frame x = frameWidth - 1 - (window.top + y), y = window.left + x.
    const auto rowStart = [&](int32_t y) {
        return static_cast<std::ptrdiff_t>(frameWidth - 1 - (window.top + y)) * xStride +
               static_cast<std::ptrdiff_t>(window.left) * yStride;
    };
    copyInTiles(surface, surfaceWidth, frame, span.left, span.top, span.right, span.bottom, rowStart, yStride);
}

// Turned the other way: source rows become frame columns from the left, source columns run
// up from the frame's bottom.
void DisplayMemory::copyTurnedOther(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame,
                                    int32_t frameHeight, int32_t xStride, int32_t yStride, const Rect& span,
                                    const Rect& window) {
    // Source (x, y) lands at frame x = window.top + y, y = frameHeight - 1 - (window.left + x).
    const auto rowStart = [&](int32_t y) {
        return static_cast<std::ptrdiff_t>(window.top + y) * xStride +
               static_cast<std::ptrdiff_t>(frameHeight - 1 - window.left) * yStride;
    };
    copyInTiles(surface, surfaceWidth, frame, span.left, span.top, span.right, span.bottom, rowStart,
                -static_cast<std::ptrdiff_t>(yStride));
}

}  // namespace vornel
