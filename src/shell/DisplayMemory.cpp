// The copy into display memory: one pass per pixel, only the rectangle being painted.
#include "shell/DisplayMemory.h"

#include <algorithm>

namespace vornel {

void DisplayMemory::copyToFrameBuffer(const uint32_t* surface, int32_t surfaceWidth, int32_t surfaceHeight,
                                      uint16_t* frame, int32_t frameWidth, int32_t xStride, int32_t frameHeight,
                                      int32_t yStride, const ScreenRect& paint, const ScreenRect& window,
                                      bool sameWidth) {
    if (surface == nullptr || frame == nullptr) {
        return;
    }
    const int32_t rows = std::min({paint.bottom, surfaceHeight, window.bottom - window.top});
    const int32_t cols = std::min({paint.right, surfaceWidth, window.right - window.left});
    // Source pixels before row and column 0 do not exist.
    const Span source{std::max(paint.left, 0), std::max(paint.top, 0), cols, rows};
    if (sameWidth) {
        const Span span = clipToFrame(source, window.left, window.top, frameWidth, frameHeight);
        if (!span.isEmpty()) {
            copyUpright(surface, surfaceWidth, frame, yStride, span, window);
        }
        return;
    }
    // Turned: a source row runs down or up a frame column, so the window's top and left are
    // measured along the frame's width and height respectively.
    const Span span = clipToFrame(source, window.left, window.top, frameHeight, frameWidth);
    if (span.isEmpty()) {
        return;
    }
    if (Platform::current().displayOrientation() == Platform::kOrientation270) {
        copyTurned270(surface, surfaceWidth, frame, frameWidth, xStride, yStride, span, window);
    } else {
        copyTurnedOther(surface, surfaceWidth, frame, frameHeight, xStride, yStride, span, window);
    }
}

DisplayMemory::Span DisplayMemory::clipToFrame(Span span, int32_t windowX, int32_t windowY, int32_t xLimit,
                                               int32_t yLimit) {
    // 64-bit: a window placed far out must not wrap back into the frame.
    span.left = static_cast<int32_t>(std::max<int64_t>(span.left, -int64_t{windowX}));
    span.top = static_cast<int32_t>(std::max<int64_t>(span.top, -int64_t{windowY}));
    span.right = static_cast<int32_t>(std::min<int64_t>(span.right, int64_t{xLimit} - windowX));
    span.bottom = static_cast<int32_t>(std::min<int64_t>(span.bottom, int64_t{yLimit} - windowY));
    return span;
}

// The frame has the surface's width: each row goes out as consecutive pixels.
void DisplayMemory::copyUpright(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame, int32_t yStride,
                                const Span& span, const ScreenRect& window) {
    for (int32_t y = span.top; y < span.bottom; ++y) {
        const uint32_t* from = surface + static_cast<std::ptrdiff_t>(y) * surfaceWidth;
        const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(window.top + y) * yStride + window.left;
        for (int32_t x = span.left; x < span.right; ++x) {
            frame[row + x] = to565(from[x]);
        }
    }
}

// Turned 270 degrees: source rows become frame columns counted from the frame's right edge.
void DisplayMemory::copyTurned270(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame,
                                  int32_t frameWidth, int32_t xStride, int32_t yStride, const Span& span,
                                  const ScreenRect& window) {
    for (int32_t y = span.top; y < span.bottom; ++y) {
        const uint32_t* from = surface + static_cast<std::ptrdiff_t>(y) * surfaceWidth;
        const std::ptrdiff_t fx = frameWidth - 1 - (window.top + y);
        for (int32_t x = span.left; x < span.right; ++x) {
            const std::ptrdiff_t fy = window.left + x;
            frame[fx * xStride + fy * yStride] = to565(from[x]);
        }
    }
}

// Turned the other way: source rows become frame columns from the left, source columns run
// up from the frame's bottom.
void DisplayMemory::copyTurnedOther(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame,
                                    int32_t frameHeight, int32_t xStride, int32_t yStride, const Span& span,
                                    const ScreenRect& window) {
    for (int32_t y = span.top; y < span.bottom; ++y) {
        const uint32_t* from = surface + static_cast<std::ptrdiff_t>(y) * surfaceWidth;
        const std::ptrdiff_t fx = window.top + y;
        for (int32_t x = span.left; x < span.right; ++x) {
            const std::ptrdiff_t fy = frameHeight - 1 - (window.left + x);
            frame[fx * xStride + fy * yStride] = to565(from[x]);
        }
    }
}

}  // namespace vornel
