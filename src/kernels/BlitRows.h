// What one blit hands to the kernels that walk its rows: the picture, the surface and the area
// to draw, the sampling that stays the same for every row, and where one row's walk goes.
#pragma once

#include <cstdint>

#include "core/Fixed.h"
#include "core/Rect.h"
#include "kernels/PictureWord.h"

namespace vornel::blit {

inline constexpr int kDepthShift = 24;  // the surface keeps its depth key where pictures keep alpha and run
inline constexpr uint32_t kChannelMask = 0xFF;

// The picture and the surface one blit walks, and the area it draws (already clipped to both).
struct BlitRows {
    const uint32_t* pixels;
    int32_t width;
    uint32_t* surface;
    int32_t stride;
    Rect area;
    int32_t originX;
    int32_t originY;
    bool trueRuns;                  // Picture::m_trueRuns
    const uint32_t* contentSpans;  // Picture::m_contentSpans, when trueRuns
};

// Drawing parameters that stay the same for every row of one blit.
struct Sampling {
    Fixed inverseScale;
    int32_t scale;  // surface pixels per picture pixel, Fixed
    int32_t depth;
    Fixed opacity;
};

// Where one row's sampling walks: picture row, surface row and the columns between.
struct RowWalk {
    const uint32_t* source;  // the picture row being sampled
    uint32_t* target;        // the surface row
    int32_t left;
    int32_t right;
    Fixed firstSample;    // picture column of the first surface pixel, Fixed
    int32_t sourceWidth;  // picture pixels in the row
};

}  // namespace vornel::blit
