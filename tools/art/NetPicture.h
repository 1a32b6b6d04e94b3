// Picture 14: the net across the table, with its white top band, a see-through mesh and the
// posts clamped to the table's sides.
#pragma once

#include <cstdint>

#include "art/ArtPicture.h"

namespace vornel {

// The game scales the net to the table's width over (picture width - 10): the five columns at
// each side are the posts. The mesh is 222 columns wide, the width the table shows at the net
// when the table view is unscaled, so the view's projection snaps the net to natural size
// there; the intro draws it at the table picture's own scale, which then agrees. The anchor
// is the middle of the net's foot on the table; the 24 rows above it are the net's height as
// projected (25.10 to 32.75 world units up), the rows below hold the posts' clamps.
class NetPicture {
public:
    static constexpr int32_t kPostWidth = 5;
    static constexpr int32_t kMeshWidth = 222;
    static constexpr int32_t kWidth = kMeshWidth + 2 * kPostWidth;
    static constexpr int32_t kNetRows = 24;
    static constexpr int32_t kClampRows = 6;
    static constexpr int32_t kHeight = kNetRows + kClampRows;
    static constexpr int32_t kAnchorX = kWidth / 2;
    static constexpr int32_t kAnchorY = kNetRows;

    // The mesh repeats every four pixels. A table view at three quarters of natural size (the
    // Pocket PC) skips every fourth picture column and row counted from the picture's edge,
    // 4, 8, 12, ...; the strands lie at 2 modulo 4, so all of them survive there.
    static constexpr int32_t kMeshPeriod = 4;
    static constexpr int32_t kStrandPhase = 2;
    static constexpr int32_t kTapeRows = 3;

    static ArtPicture make();
};

}  // namespace vornel
