// One picture of the game's bank as the art generator makes it: record type, pixels, anchor.
#pragma once

#include <cstdint>

#include "bank/RgbaImage.h"

namespace vornel {

struct ArtPicture {
    char type = 'r';  // 'j' JPEG (with alpha runs), 'r' run-length with transparency, 'o' opaque run-length
    RgbaImage image;
    int32_t anchorX = 0;  // the picture's point that lands on the sprite's position, pixels
    int32_t anchorY = 0;
};

}  // namespace vornel
