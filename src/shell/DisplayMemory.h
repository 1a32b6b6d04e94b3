// Copying finished game pixels straight into the display's 16-bit frame buffer, upright or
// turned with the display.
#pragma once

#include <cstdint>

#include "core/Rect.h"
#include "core/SurfaceView.h"
#include "platform/Platform.h"

namespace vornel {

class DisplayMemory final {
public:
    // A 32-bit pixel (0xXXRRGGBB) as 5-6-5: the top five bits of red, six of green, five of blue.
    static uint16_t to565(uint32_t pixel) {
        return static_cast<uint16_t>(((pixel >> 19) & 0x1F) << 11 | ((pixel >> 10) & 0x3F) << 5 | ((pixel >> 3) & 0x1F));
    }

    // The display's frame buffer, in 16-bit pixels: the view's stride is the step from one
    // row to the next (yStride) and its rows the frame's height; xStride is the step from one
    // pixel to the next on a row (signed), width the pixels of a row.
    struct Frame {
        Surface16 view;
        int32_t width = 0;
        int32_t xStride = 1;
    };

    // Copies the part of the paint rectangle that lies on the surface and inside the window
    // into the frame. With sameWidth the frame is upright and rows are written pixel after
    // pixel; otherwise the display is turned and the platform's orientation, asked at each
    // copy, picks one of the two turned placements. Pixels that would land outside the frame's width and
    // height are not written. A null surface or frame copies nothing.
    static void copyToFrameBuffer(Platform& platform, const Surface32& surface, const Frame& frame,
                                  const Rect& paint, const Rect& window, bool sameWidth);

private:
    // The source columns and rows cut so that windowX + x lies in [0, xLimit) and windowY + y
    // in [0, yLimit).
    static Rect clipToFrame(Rect span, int32_t windowX, int32_t windowY, int32_t xLimit, int32_t yLimit);

    static void copyUpright(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame, int32_t yStride,
                            const Rect& span, const Rect& window);
    static void copyTurned270(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame, int32_t frameWidth,
                              int32_t xStride, int32_t yStride, const Rect& span, const Rect& window);
    static void copyTurnedOther(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame, int32_t frameHeight,
                                int32_t xStride, int32_t yStride, const Rect& span, const Rect& window);
};

}  // namespace vornel
