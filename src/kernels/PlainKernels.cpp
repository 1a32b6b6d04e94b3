// The kernels in plain C++, for every platform: the table a build without SSE2 or AVX2 runs,
// and what the other sets fall back on.
#include <algorithm>
#include <cstring>

#include "kernels/BlitWalk.h"
#include "kernels/KernelTables.h"
#include "kernels/PixelSteps.h"

namespace vornel::kernels {
namespace {

// Every pixel of the rows through blend(). Each row is walked with an unsigned count: the
// project builds with -fwrapv, under which gcc cannot tell how often a loop on a wrapping int
// runs and leaves it unvectorised; this way it blends several pixels an instruction.
template <typename Blend>
void blendRows(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, Blend blend) {
    for (std::size_t y = 0; y < rows; ++y) {
        uint32_t* row = first + static_cast<std::ptrdiff_t>(y) * stride;
        for (std::size_t x = 0; x < width; ++x) {
            row[x] = blend(row[x]);
        }
    }
}

void fillMixed(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    const MixWeights weights = mixWeightsOf(colour);
    blendRows(first, stride, width, rows,
              [weights](uint32_t p) { return mixChannels(p, weights.keep, weights.colourShare); });
}

// Every row of the area a pixel at a time; answers the hidden pixels of all of them.
template <bool kFullOpacity>
int32_t drawRowsOneByOne(const blit::BlitRows& rows, const blit::Sampling& sampling) {
    return blit::sumOverRows(rows, sampling.inverseScale, [&sampling](const blit::RowWalk& row) {
        return blit::drawRest<kFullOpacity>(row, sampling, row.left, row.firstSample);
    });
}

void convertTo565(const uint32_t* from, uint16_t* to, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        to[i] = to565(from[i]);
    }
}

}  // namespace

namespace plain {

void copyRows(const uint32_t* from, std::ptrdiff_t fromStride, uint32_t* to, std::ptrdiff_t toStride,
              std::size_t width, std::size_t rows) {
    const std::size_t rowBytes = width * sizeof(uint32_t);
    for (std::size_t y = 0; y < rows; ++y) {
        std::memcpy(to + static_cast<std::ptrdiff_t>(y) * toStride, from + static_cast<std::ptrdiff_t>(y) * fromStride,
                    rowBytes);
    }
}

// One row written pixel by pixel, then copied into the rows below.
void fillOpaque(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    std::fill(first, first + width, colour);
    for (std::size_t y = 1; y < rows; ++y) {
        std::memcpy(first + static_cast<std::ptrdiff_t>(y) * stride, first, width * sizeof(uint32_t));
    }
}

void fillHalf(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    const uint32_t half = halfOf(colour);
    blendRows(first, stride, width, rows, [half](uint32_t p) { return ((p >> 1) & 0x7F7F7F) + half; });
}

void fillQuarter(uint32_t* first, std::ptrdiff_t stride, std::size_t width, std::size_t rows, uint32_t colour) {
    const uint32_t threeQuarters = threeQuartersOf(colour);
    blendRows(first, stride, width, rows, [threeQuarters](uint32_t p) { return ((p >> 2) & 0x3F3F3F) + threeQuarters; });
}

int32_t drawBlitRows(const blit::BlitRows& rows, const blit::Sampling& sampling) {
    return sampling.opacity == kFixedOne ? drawRowsOneByOne<true>(rows, sampling)
                                         : drawRowsOneByOne<false>(rows, sampling);
}

// A source row runs down a frame column, so a row at a time would write one pixel to every
// frame row it crosses; tiles of 16 × 16 pixels write 16 neighbours into each frame row they
// touch while its cache line is still at hand. Each pixel is written once, so the order of the
// writes cannot change what the frame ends up holding.
void turnTo565(const uint32_t* from, std::ptrdiff_t fromStride, std::size_t width, std::size_t rows, uint16_t* to,
               std::ptrdiff_t toRowStep, std::ptrdiff_t toColumnStep) {
    constexpr std::size_t kTile = 16;
    for (std::size_t tileTop = 0; tileTop < rows; tileTop += kTile) {
        const std::size_t tileBottom = std::min(rows, tileTop + kTile);
        for (std::size_t tileLeft = 0; tileLeft < width; tileLeft += kTile) {
            const std::size_t tileRight = std::min(width, tileLeft + kTile);
            for (std::size_t y = tileTop; y < tileBottom; ++y) {
                const uint32_t* row = from + static_cast<std::ptrdiff_t>(y) * fromStride;
                std::ptrdiff_t at = static_cast<std::ptrdiff_t>(y) * toRowStep +
                                    static_cast<std::ptrdiff_t>(tileLeft) * toColumnStep;
                for (std::size_t x = tileLeft; x < tileRight; ++x) {
                    to[at] = to565(row[x]);
                    at += toColumnStep;
                }
            }
        }
    }
}

void stretchTo565(const uint32_t* row, const int32_t* columns, std::size_t count, uint16_t* to, std::ptrdiff_t step) {
    std::ptrdiff_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        to[at] = to565(row[columns[i]]);
        at += step;
    }
}

}  // namespace plain

extern const PixelKernels kPlainKernels = {
    "plain",          plain::copyRows,     plain::fillOpaque, plain::fillHalf,     plain::fillQuarter, fillMixed,
    plain::drawBlitRows, convertTo565,     plain::turnTo565,  plain::stretchTo565,
};

}  // namespace vornel::kernels
