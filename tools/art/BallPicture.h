// Pictures 7, 8 and 15: the ball, its soft shadow on the table, and the score marker.
#pragma once

#include "art/ArtPicture.h"

namespace vornel {

class BallPicture {
public:
    // The ball: about the size it shows on a 240 x 320 Pocket PC over the middle of the table.
    static constexpr int32_t kBallSize = 10;
    // The shadow is as wide as the ball and flattened as the tilted camera sees the table.
    static constexpr int32_t kShadowWidth = 10;
    static constexpr int32_t kShadowHeight = 4;
    // The score marker sits below the score in each top corner of the screen: the game puts
    // its anchor at (6, 6) and (screen width - 6, 6), and the score's digits fill rows 4..18.
    static constexpr int32_t kMarkerSize = 9;
    static constexpr int32_t kMarkerAnchorX = 4;
    static constexpr int32_t kMarkerAnchorY = -15;

    static ArtPicture ball();
    static ArtPicture shadow();
    static ArtPicture scoreMarker();
};

}  // namespace vornel
