// Encodes a glyph's coverage as the font file's run bytes: high nibble the run length (0
// meaning 16), low nibble the coverage level 0..15.
#pragma once

#include <cstdint>
#include <vector>

#include "font/GlyphBox.h"

namespace vornel {

class GlyphRunEncoder {
public:
    static constexpr int32_t kLongestRun = 16;
    static constexpr int32_t kFullLevel = 15;
    // The least coverage that is given level 1 rather than 0: fainter pixels vanish.
    static constexpr uint8_t kFaintestVisible = 8;

    // The run bytes of the glyph, row by row from the top; runs carry on across row ends.
    // Rows below the last one with ink are left out (the game takes a glyph to be as tall as
    // its runs), but the last inked row is always finished, so the runs fill whole rows. A
    // glyph without ink is one transparent row, so that its width still reaches the file;
    // an empty box gives no bytes.
    static std::vector<uint8_t> encode(const GlyphBox& box);

    // The level whose painted opacity is nearest to the coverage. The game paints level c
    // at c/16 of the colour, except 15, which it paints at full colour: so levels 0..14 are
    // sixteenths and coverage from 15/16 up becomes 15.
    static int32_t level(uint8_t coverage);

private:
    static int32_t inkedRows(const GlyphBox& box);
    static uint8_t runByte(int32_t length, int32_t level);
};

}  // namespace vornel
