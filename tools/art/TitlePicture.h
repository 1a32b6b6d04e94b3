// Picture 0: the loading picture, the game's title over a table in a dark hall.
#pragma once

#include <cstdint>

#include "art/ArtPicture.h"
#include "art/Canvas.h"

namespace vornel {

// Shown centred while the game loads, and shrunk to fit a screen smaller than it. A JPEG
// whose corners are rounded off by alpha runs; as the bank's picture 0 its JPEG header is the
// one every later JPEG of the bank shares.
class TitlePicture {
public:
    static constexpr int32_t kWidth = 200;
    static constexpr int32_t kHeight = 120;

    static ArtPicture make();

private:
    static void drawBackdrop(Canvas& canvas);
    static void drawTable(Canvas& canvas);
    static void drawNet(Canvas& canvas);
    static void drawTitle(Canvas& canvas);
    static void roundCorners(Canvas& canvas);
};

}  // namespace vornel
