// The rectangle fill and the gradient colours.
#include "sprites/Drawing.h"

#include <algorithm>
#include <cstring>

#include "core/Processor.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#include <immintrin.h>
#endif

namespace vornel {
namespace {

constexpr uint32_t kColour = 0xFFFFFF;

// Every pixel of the rectangle through blend(). Each row is walked with an unsigned count: the
// project builds with -fwrapv, under which gcc cannot tell how often a loop on a wrapping int
// runs and leaves it unvectorised; this way it blends several pixels an instruction.
template <typename Blend>
void blendRect(uint32_t* pixels, int32_t stride, int32_t left, int32_t top, int32_t right, int32_t bottom,
               Blend blend) {
    const auto width = static_cast<std::size_t>(right - left);
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride + left;
        for (std::size_t x = 0; x < width; ++x) {
            row[x] = blend(row[x]);
        }
    }
}

#if defined(__SSE2__)
// Opaque in AVX2: each row's pixels up to a 32-byte boundary one by one, then 32-byte stores
// that never straddle two cache lines, four a turn (a turn of one store was held to a turn a
// cycle, at half the speed the stores can go), then the rest.
[[gnu::target("avx2")]] void fillOpaqueWide(uint32_t* pixels, int32_t stride, int32_t left, int32_t top,
                                            int32_t right, int32_t bottom, uint32_t color) {
    const __m256i eight = _mm256_set1_epi32(static_cast<int>(color));
    const auto width = static_cast<std::size_t>(right - left);
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride + left;
        std::size_t x = 0;
        for (; x < width && reinterpret_cast<std::uintptr_t>(row + x) % 32 != 0; ++x) {
            row[x] = color;
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
            row[x] = color;
        }
    }
}
#endif

// Opaque: one row written pixel by pixel, then copied into the rows below.
void fillOpaque(uint32_t* pixels, int32_t stride, int32_t left, int32_t top, int32_t right, int32_t bottom,
                uint32_t color) {
#if defined(__SSE2__)
    if (processorHasAvx2()) {
        fillOpaqueWide(pixels, stride, left, top, right, bottom, color);
        return;
    }
#endif
    uint32_t* first = pixels + top * stride;
    std::fill(first + left, first + right, color);
    const auto rowBytes = static_cast<std::size_t>(right - left) * sizeof(uint32_t);
    for (int32_t y = top + 1; y < bottom; ++y) {
        std::memcpy(pixels + y * stride + left, first + left, rowBytes);
    }
}

// channel·weight/256 for every channel, rounded down, the depth byte cleared. Red and blue are
// multiplied together: each product stays below 2^16, so the two cannot overlap in the word.
uint32_t weighChannels(uint32_t pixel, uint32_t weight) {
    const uint32_t redBlue = ((pixel & 0xFF00FF) * weight >> 8) & 0xFF00FF;
    const uint32_t green = ((pixel & 0x00FF00) * weight >> 8) & 0x00FF00;
    return redBlue | green;
}

// old·(255-alpha)/256 + colour·alpha/256, per channel. The two weights add up to 255, so no
// channel's sum reaches 256: adding whole words carries nothing from one channel into the next.
uint32_t mixChannels(uint32_t old, uint32_t keep, uint32_t colourShare) {
    return weighChannels(old, keep) + colourShare;
}

// One row of the rectangle mixed. gcc vectorises mixChannels() only with 32-bit multiplies,
// which SSE2 lacks; with SSE2 the row goes four pixels at a time with each channel widened to
// the upper byte of a 16-bit lane, so that the high half of its product with the weight is
// exactly channel·weight/256 rounded down, then packed back. The depth byte's lanes are
// weighed by 0, which clears them as mixChannels() does.
void mixRow(uint32_t* row, std::size_t width, uint32_t keep, uint32_t colourShare) {
    std::size_t x = 0;
#if defined(__SSE2__)
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
#endif
    for (; x < width; ++x) {
        row[x] = mixChannels(row[x], keep, colourShare);
    }
}

#if defined(__SSE2__)
// The translucent fills in AVX2: the same arithmetic eight pixels a step, two steps a turn;
// the pixels at a row's end that make no whole step go through the word-at-a-time blend. The
// blends in lanes are structs whose call carries the AVX2 target, as a lambda's could not.
struct HalfLanes {
    __m256i half;
    [[gnu::target("avx2")]] __m256i operator()(__m256i pixels) const {
        return _mm256_add_epi32(_mm256_and_si256(_mm256_srli_epi32(pixels, 1), _mm256_set1_epi32(0x7F7F7F)), half);
    }
};

struct QuarterLanes {
    __m256i threeQuarters;
    [[gnu::target("avx2")]] __m256i operator()(__m256i pixels) const {
        return _mm256_add_epi32(_mm256_and_si256(_mm256_srli_epi32(pixels, 2), _mm256_set1_epi32(0x3F3F3F)),
                                threeQuarters);
    }
};

// mixRow()'s lanes, widened: unpacking and packing stay inside each 128-bit half, so every
// pixel comes back to its own lane.
struct MixLanes {
    __m256i keeps;
    __m256i share;
    [[gnu::target("avx2")]] __m256i operator()(__m256i pixels) const {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i low = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, pixels), keeps);
        const __m256i high = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, pixels), keeps);
        return _mm256_add_epi32(_mm256_packus_epi16(low, high), share);
    }
};

template <typename Lanes, typename Blend>
[[gnu::target("avx2")]] void blendRectWide(uint32_t* pixels, int32_t stride, int32_t left, int32_t top,
                                           int32_t right, int32_t bottom, const Lanes& lanes, Blend blend) {
    const auto width = static_cast<std::size_t>(right - left);
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride + left;
        const auto at = [row](std::size_t x) { return reinterpret_cast<__m256i*>(row + x); };
        std::size_t x = 0;
        for (; width - x >= 16; x += 16) {
            const __m256i first = _mm256_loadu_si256(at(x));
            const __m256i second = _mm256_loadu_si256(at(x + 8));
            _mm256_storeu_si256(at(x), lanes(first));
            _mm256_storeu_si256(at(x + 8), lanes(second));
        }
        for (; width - x >= 8; x += 8) {
            _mm256_storeu_si256(at(x), lanes(_mm256_loadu_si256(at(x))));
        }
        for (; x < width; ++x) {
            row[x] = blend(row[x]);
        }
    }
}

[[gnu::target("avx2")]] void halveRectWide(uint32_t* pixels, int32_t stride, int32_t left, int32_t top,
                                           int32_t right, int32_t bottom, uint32_t half) {
    blendRectWide(pixels, stride, left, top, right, bottom, HalfLanes{_mm256_set1_epi32(static_cast<int>(half))},
                  [half](uint32_t p) { return ((p >> 1) & 0x7F7F7F) + half; });
}

[[gnu::target("avx2")]] void quarterRectWide(uint32_t* pixels, int32_t stride, int32_t left, int32_t top,
                                             int32_t right, int32_t bottom, uint32_t threeQuarters) {
    blendRectWide(pixels, stride, left, top, right, bottom,
                  QuarterLanes{_mm256_set1_epi32(static_cast<int>(threeQuarters))},
                  [threeQuarters](uint32_t p) { return ((p >> 2) & 0x3F3F3F) + threeQuarters; });
}

[[gnu::target("avx2")]] void mixRectWide(uint32_t* pixels, int32_t stride, int32_t left, int32_t top,
                                         int32_t right, int32_t bottom, uint32_t keep, uint32_t colourShare) {
    const auto k = static_cast<int16_t>(keep);
    const MixLanes lanes{_mm256_set_epi16(0, k, k, k, 0, k, k, k, 0, k, k, k, 0, k, k, k),
                         _mm256_set1_epi32(static_cast<int>(colourShare))};
    blendRectWide(pixels, stride, left, top, right, bottom, lanes,
                  [keep, colourShare](uint32_t p) { return mixChannels(p, keep, colourShare); });
}
#endif

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
    uint32_t* pixels = surface.pixels;
    const int32_t stride = surface.stride;
    const auto [left, top, right, bottom] = clipped;
    if (alpha == 0xFF) {
        fillOpaque(pixels, stride, left, top, right, bottom, color);
    } else if (alpha == 0x80) {
        const uint32_t half = (color >> 1) & 0x7F7F7F;
#if defined(__SSE2__)
        if (processorHasAvx2()) {
            halveRectWide(pixels, stride, left, top, right, bottom, half);
            return;
        }
#endif
        blendRect(pixels, stride, left, top, right, bottom,
                  [half](uint32_t p) { return ((p >> 1) & 0x7F7F7F) + half; });
    } else if (alpha == 0xC0) {
        const uint32_t half = (color >> 1) & 0x7F7F7F;
        const uint32_t threeQuarters = half + ((half >> 1) & 0x3F3F3F);
#if defined(__SSE2__)
        if (processorHasAvx2()) {
            quarterRectWide(pixels, stride, left, top, right, bottom, threeQuarters);
            return;
        }
#endif
        blendRect(pixels, stride, left, top, right, bottom,
                  [threeQuarters](uint32_t p) { return ((p >> 2) & 0x3F3F3F) + threeQuarters; });
    } else {
        const uint32_t keep = 255 - alpha;
        const uint32_t colourShare = weighChannels(color, alpha);
#if defined(__SSE2__)
        if (processorHasAvx2()) {
            mixRectWide(pixels, stride, left, top, right, bottom, keep, colourShare);
            return;
        }
#endif
        const auto width = static_cast<std::size_t>(right - left);
        for (int32_t y = top; y < bottom; ++y) {
            mixRow(pixels + static_cast<std::ptrdiff_t>(y) * stride + left, width, keep, colourShare);
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
