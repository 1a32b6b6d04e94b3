// Whole-number scaling of the emulated screen.
#include "backends/sdl/ScreenPlacement.h"

#include <algorithm>

namespace vornel {
namespace {

// Division that rounds toward minus infinity, so that positions left of the screen stay left.
int32_t floorDivide(int32_t value, int32_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

ScreenPlacement ScreenPlacement::fit(int32_t pictureWidth, int32_t pictureHeight, int32_t outputWidth,
                                     int32_t outputHeight, int32_t largestScale) {
    ScreenPlacement placement;
    if (pictureWidth > 0 && pictureHeight > 0) {
        placement.scale = std::max(1, std::min({largestScale, outputWidth / pictureWidth, outputHeight / pictureHeight}));
    }
    placement.left = (outputWidth - pictureWidth * placement.scale) / 2;
    placement.top = (outputHeight - pictureHeight * placement.scale) / 2;
    return placement;
}

int32_t ScreenPlacement::defaultZoom(int32_t pictureWidth, int32_t pictureHeight, int32_t roomWidth, int32_t roomHeight) {
    return fit(pictureWidth, pictureHeight, roomWidth, roomHeight, kLargestDefaultZoom).scale;
}

int32_t ScreenPlacement::pixelsOf(int32_t points, int32_t pixelsAcross, int32_t pointsAcross) {
    if (pointsAcross <= 0) {
        return points;
    }
    return static_cast<int32_t>(int64_t{points} * pixelsAcross / pointsAcross);
}

int32_t ScreenPlacement::pictureX(int32_t windowX, int32_t pictureWidth) const {
    return std::clamp(floorDivide(windowX - left, scale), 0, pictureWidth - 1);
}

int32_t ScreenPlacement::pictureY(int32_t windowY, int32_t pictureHeight) const {
    return std::clamp(floorDivide(windowY - top, scale), 0, pictureHeight - 1);
}

}  // namespace vornel
