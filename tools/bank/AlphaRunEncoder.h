// The alpha runs that give a JPEG picture of the bank its transparency.
#pragma once

#include <cstdint>
#include <vector>

#include "bank/RgbaImage.h"

namespace vornel {

// Each byte is (n << 3) | code: n pixels (1..31, or 0 for 32) in row-major order take the
// alpha code (0 transparent, 1..6 translucent, 7 opaque). The runs cover the picture exactly.
class AlphaRunEncoder {
public:
    static constexpr int32_t kLongestRun = 32;

    // The runs of the picture's alpha codes (ColourLevels::alphaCode), longest first where a
    // stretch exceeds 32 pixels; no bytes at all when every pixel is opaque.
    static std::vector<uint8_t> encode(const RgbaImage& image);
};

}  // namespace vornel
