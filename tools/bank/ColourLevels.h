// How the bank's pictures quantise colour and opacity: 3-bit alpha codes, RGB555 colours,
// and the premultiplication each picture kind applies, undone again for export.
#pragma once

#include <cstdint>

namespace vornel {

class ColourLevels {
public:
    static constexpr int32_t kTransparentCode = 0;
    static constexpr int32_t kOpaqueCode = 7;

    // The 3-bit alpha code of an 8-bit alpha: round(alpha × 7 / 255), so 0..18 is
    // transparent and 237..255 opaque.
    static int32_t alphaCode(uint32_t alpha);
    // The 8-bit alpha a code stands for: round(code × 255 / 7).
    static uint32_t alphaOfCode(int32_t code);

    // The 15-bit colour (red in bits 10-14, green 5-9, blue 0-4) of 0x..RRGGBB. Each channel
    // takes the nearest of the 32 levels the game can show, 0, 8, ..., 248 (so 252..255
    // become 248), rather than simply its top five bits, which would darken every colour.
    static uint32_t toRgb555(uint32_t rgb);
    // The game's expansion: each 5-bit channel in the top five bits of its byte.
    static uint32_t expandRgb555(uint32_t rgb555);
    // toRgb555 then expandRgb555: the colour a run-length picture shows for rgb.
    static uint32_t quantise(uint32_t rgb) { return expandRgb555(toRgb555(rgb)); }

    // The colour a run-length record stores for a translucent pixel. The blit lets (8 - code)/8
    // of the surface show through, so a pixel must decode to code/8 of its colour; the
    // decoder's own table gives 1/2 for code 3 and 3/4 for code 5, so those two are stored at
    // 3/4 and 5/6 of the colour. Left uncompensated, a bright edge over a bright surface would
    // add up past 255 in a channel and carry into the next.
    static uint32_t runLengthStoredColour(uint32_t rgb, int32_t code);

    // Undoes the premultiplication of a decoded pixel colour: divides each channel by code/8,
    // the opacity the blit gives the pixel, rounded and capped at 255. Opaque pixels (code 7)
    // are not scaled and transparent ones (code 0) have no colour.
    static uint32_t unpremultiply(uint32_t colour, int32_t code);
};

}  // namespace vornel
