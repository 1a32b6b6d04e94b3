// Turns a picture decoded by the game back into a straight-alpha RGBA image for export.
#pragma once

#include "bank/RgbaImage.h"
#include "media/Picture.h"

namespace vornel {

class PictureImage {
public:
    // Alpha is round(code × 255 / 7) of each word's alpha code; the colour is divided by
    // code/8, the opacity the blit draws it with (none for opaque pixels). Transparent pixels
    // come out as 0. Answers the
    // empty image when the picture has no pixels or fewer than its size needs.
    static RgbaImage fromPicture(const Picture& picture);
};

}  // namespace vornel
