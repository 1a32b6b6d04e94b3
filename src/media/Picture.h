// One decoded picture of the picture bank: 32-bit pixel words that carry a 3-bit opacity
// code and a 5-bit run count besides the colour, and the blit that draws them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Array.h"
#include "core/Base.h"
#include "core/Fixed.h"
#include "core/Rect.h"
#include "core/SurfaceView.h"
#include "kernels/PictureWord.h"  // the pixel word: kAlphaShift, kRunShift, kColourMask, ...

namespace vornel {

class Picture final : public Base {
public:
    // blitInto for a surface handed as an array, stride words a row; the rows argument is not
    // used: the array's length says how many rows there are.
    virtual int32_t blit(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft,
                         int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed left, Fixed top,
                         Fixed inverseScale, int32_t depth, Fixed opacity);

    // Draws the picture with its top-left corner at topLeft (Fixed surface coordinates) into a
    // surface of 32-bit words (colour in bits 0-23, depth key in bits 24-31, nearer is
    // smaller), inside the clip (surface pixels). inverseScale is the Fixed step through the
    // picture per surface pixel (0x8000 natural size, 0x10000 half size); opacity is Fixed
    // (0x8000 opaque). Answers how many picture pixels were hidden behind nearer surface
    // pixels; 1 when inverseScale is 0.
    int32_t blitInto(const Surface32& surface, const Rect& clip, FixedPoint topLeft, Fixed inverseScale,
                     int32_t depth, Fixed opacity);

    bool hasPixels() const { return !m_pixels.isEmpty(); }

    // Sets m_trueRuns and m_contentSpans from the pixels; called whenever they are filled.
    void noteTrueRuns();

    uint8_t m_opaque = 0;      // every pixel is opaque: unscaled blits copy whole rows
    uint8_t m_trueRuns = 0;    // no transparent pixel's run count reaches past a pixel of its row
                               // that is not transparent: unscaled blits need not skip runs
    std::vector<uint32_t> m_contentSpans;  // with m_trueRuns, per row: the first column that is not
                                           // transparent | one past the last << 16 (0 for none)
    Array<uint32_t> m_pixels;  // width × height words, row by row; empty after eviction
    uint8_t m_type = 0;        // 'j' or 'r'
    uint8_t m_used = 0;        // set by every fetch from the bank, cleared by its eviction sweep
    int16_t m_width = 0;
    int16_t m_height = 0;
    int16_t m_anchorX = 0;
    int16_t m_anchorY = 0;

protected:
    ~Picture() override = default;
};

}  // namespace vornel
