// Pixel operations on 32-bit surfaces (TT RR GG BB, TT a depth byte): the rectangle fill with
// its five blending modes, and the rows of a vertical gradient.
#pragma once

#include <cstdint>

#include "core/Fixed.h"
#include "core/Rect.h"
#include "core/SurfaceView.h"

namespace vornel {

class Drawing final {
public:
    // Fills the area (surface pixels) with color 0xAARRGGBB by its opacity AA: 0 writes
    // nothing; 0xFF writes the colour itself (TT 0xFF); 0x80 and 0xC0 mix by halves and
    // quarters with shifts; any other AA mixes each channel as old·(255-AA)/256 + new·AA/256.
    // Translucent fills leave TT 0. The area is cut to the surface first.
    static void fillRect(const Surface32& surface, const Rect& area, uint32_t color);

    // The rows of the area (surface pixels), each filled as fillRect fills it with the gradient
    // colour of its distance from firstRow: gradientColour(from, to, (y - firstRow) × step).
    // The area is cut to the surface once and the kernel looked up once, not once a row.
    static void fillGradient(const Surface32& surface, const Rect& area, uint32_t from, uint32_t to,
                             int32_t firstRow, Fixed step);

    // The opaque colour of a gradient row a fraction t (Fixed, 0 to 1) of the way from one
    // colour to the other; equal colours give the colour itself, AA included.
    static uint32_t gradientColour(uint32_t from, uint32_t to, Fixed t);

    // The colour with its AA scaled by opacity (Fixed); 0x8000 leaves it unchanged.
    static uint32_t withOpacity(uint32_t color, Fixed opacity);
};

}  // namespace vornel
