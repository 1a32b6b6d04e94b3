// Pictures 1 to 5: the menu button, the help screen's up, down and close markers, and a
// small emblem of a bat and a ball (number 5, which the game does not show).
#pragma once

#include <cstdint>

#include "art/ArtPicture.h"

namespace vornel {

class InterfacePictures {
public:
    // The button a menu label of the 15-pixel font sits on. The menu spaces its rows 22.5
    // pixels apart (15-pixel lines stretched by 1.5), so 20 rows leave a gap between buttons;
    // the widest label, "Level: Hard", is 69 pixels. The label is centred on it, so the anchor
    // is the top-left corner.
    static constexpr int32_t kButtonWidth = 104;
    static constexpr int32_t kButtonHeight = 20;

    // The help markers. Up and close hang from their anchor (the help screen puts their tops at
    // y 64 and 6); the down marker stands on it (at 10 pixels above the screen's bottom).
    static constexpr int32_t kMarkerSize = 18;

    static constexpr int32_t kEmblemSize = 24;

    static ArtPicture menuButton();
    static ArtPicture upMarker();
    static ArtPicture downMarker();
    static ArtPicture closeMarker();
    static ArtPicture emblem();
};

}  // namespace vornel
