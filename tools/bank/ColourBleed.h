// Fills the colour under transparent pixels from their visible neighbours before JPEG
// compression, so that the blocks along an edge do not pull in black and show a dark halo.
#pragma once

#include "bank/RgbaImage.h"

namespace vornel {

class ColourBleed {
public:
    // Gives every pixel whose alpha code is 0 the mean colour of its already coloured
    // neighbours (8-neighbourhood), ring by ring outwards from the visible pixels, so each
    // hidden pixel takes the colour of the nearest visible ones. Alphas are left as they are;
    // a picture with no visible pixel is left untouched.
    static void bleedUnderTransparency(RgbaImage& image);
};

}  // namespace vornel
