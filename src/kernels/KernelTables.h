// The tables each instruction set's file defines, and the plain kernels the other sets reuse
// for what they have no faster version of. Only the kernels library includes this header.
#pragma once

#include "kernels/PixelKernels.h"

namespace vornel::kernels {

extern const PixelKernels kPlainKernels;
extern const PixelKernels kSse2Kernels;  // built where the compiler targets SSE2
extern const PixelKernels kAvx2Kernels;  // built on x86-64; runs where the processor has AVX2

namespace plain {
void copyRows(const uint32_t* from, std::ptrdiff_t fromStride, uint32_t* to, std::ptrdiff_t toStride,
              std::size_t width, std::size_t rows);
void fillOpaque(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour);
void fillHalf(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour);
void fillQuarter(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour);
int32_t drawBlitRows(const blit::BlitRows& rows, const blit::Sampling& sampling);
void turnTo565(const uint32_t* from, std::ptrdiff_t fromStride, std::size_t width, std::size_t rows, uint16_t* to,
               std::ptrdiff_t toRowStep, std::ptrdiff_t toColumnStep);
void stretchTo565(const uint32_t* row, const int32_t* columns, std::size_t count, uint16_t* to, std::ptrdiff_t step);
}  // namespace plain

}  // namespace vornel::kernels
