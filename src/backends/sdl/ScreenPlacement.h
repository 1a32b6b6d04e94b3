// Where the emulated screen lands in the window: a whole-number scale, centred, black
// around; and the way back from a mouse position to a window pixel of the handheld.
#pragma once

#include <cstdint>

namespace vornel {

struct ScreenPlacement {
    static constexpr int32_t kLargestDefaultZoom = 4;

    int32_t scale = 1;  // device pixels per screen pixel
    int32_t left = 0;   // device pixel of the screen's left edge in the window
    int32_t top = 0;

    // The largest scale up to largestScale at which the picture fits the output (at least 1),
    // centred.
    static ScreenPlacement fit(int32_t pictureWidth, int32_t pictureHeight, int32_t outputWidth, int32_t outputHeight,
                               int32_t largestScale);
    // The zoom a window opens with: the largest up to kLargestDefaultZoom that fits the room.
    static int32_t defaultZoom(int32_t pictureWidth, int32_t pictureHeight, int32_t roomWidth, int32_t roomHeight);

    // A position in window points as device pixels of an output that has pixelsAcross for
    // pointsAcross (more pixels than points on a scaled desktop).
    static int32_t pixelsOf(int32_t points, int32_t pixelsAcross, int32_t pointsAcross);

    // The screen pixel under a window position in device pixels, kept on the screen.
    int32_t pictureX(int32_t windowX, int32_t pictureWidth) const;
    int32_t pictureY(int32_t windowY, int32_t pictureHeight) const;
};

}  // namespace vornel
