// The hot pixel loops of drawing and presentation, one table of them per instruction set:
// plain C++ on every platform, SSE2 where the compiler targets it, AVX2 on x86-64 processors
// that have it. The widest table the processor and the system support is chosen once, at the
// first call of active(); the callers look it up once per blit, fill or copy and call through
// it once per row or per rectangle, never per pixel. Every table draws the same words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "kernels/BlitRows.h"

namespace vornel {

class ScopedPixelKernels;

struct PixelKernels {
    // Copies `rows` rows of `width` words; each row starts `stride` words after the one above.
    using CopyRows = void (*)(const uint32_t* from, std::ptrdiff_t fromStride, uint32_t* to, std::ptrdiff_t toStride,
                              std::size_t width, std::size_t rows);
    // Fills `rows` rows of `width` surface words from `first` on with colour 0xAARRGGBB, blended
    // as the entry's name says (see Drawing::fillRect).
    using FillRows = void (*)(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows,
                              uint32_t colour);
    // Draws a blit's rows (sampling, run skipping, depth test, blending); answers how many
    // picture pixels were hidden behind nearer surface pixels.
    using DrawBlitRows = int32_t (*)(const blit::BlitRows& rows, const blit::Sampling& sampling);
    // `count` 32-bit pixels (0xXXRRGGBB) as 5-6-5 words, one after the other.
    using ConvertRow = void (*)(const uint32_t* from, uint16_t* to, std::size_t count);
    // `rows` rows of `width` 32-bit pixels as 5-6-5: pixel (x, y) goes to
    // to[y × toRowStep + x × toColumnStep], which turns them with a display on its side.
    using TurnRows = void (*)(const uint32_t* from, std::ptrdiff_t fromStride, std::size_t width, std::size_t rows,
                              uint16_t* to, std::ptrdiff_t toRowStep, std::ptrdiff_t toColumnStep);
    // One stretched row as 5-6-5: to[i × step] shows row[columns[i]], for i below count.
    using StretchRow = void (*)(const uint32_t* row, const int32_t* columns, std::size_t count, uint16_t* to,
                                std::ptrdiff_t step);

    const char* name;  // "plain", "sse2", "avx2": test names and traces
    CopyRows copyRows;
    FillRows fillOpaque;  // AA 0xFF
    FillRows fillHalf;    // AA 0x80
    FillRows fillQuarter; // AA 0xC0
    FillRows fillMixed;   // any other AA but 0
    DrawBlitRows drawBlitRows;
    ConvertRow convertTo565;
    TurnRows turnTo565;
    StretchRow stretchTo565;

    // The table in use: the widest supported one, unless a ScopedPixelKernels says otherwise.
    static const PixelKernels& active();

    // Every table this build holds and this machine can run, plain first, widest last.
    static std::span<const PixelKernels* const> supported();

private:
    friend class ScopedPixelKernels;
    // Makes the table active; answers the one that was.
    static const PixelKernels& activate(const PixelKernels& table);
};

}  // namespace vornel
