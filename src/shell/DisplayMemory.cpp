// The copy into display memory: only the rectangle being painted, upright rows and turned
// tiles converted by the active pixel kernels (kernels/PixelKernels.h).
#include "shell/DisplayMemory.h"

#include <algorithm>
#include <cstddef>

#include "kernels/PixelKernels.h"

namespace vornel {
namespace {

// The span's source pixels as 5-6-5, pixel (x, y) of the span at first[y × rowStep + x × columnStep].
template <typename Span>
void turn(const uint32_t* surface, int32_t surfaceWidth, const Span& span, uint16_t* first, std::ptrdiff_t rowStep,
          std::ptrdiff_t columnStep) {
    PixelKernels::active().turnTo565(surface + static_cast<std::ptrdiff_t>(span.top) * surfaceWidth + span.left,
                                     surfaceWidth, static_cast<std::size_t>(span.right - span.left),
                                     static_cast<std::size_t>(span.bottom - span.top), first, rowStep, columnStep);
}

}  // namespace

void DisplayMemory::copyToFrameBuffer(Platform& platform, const Surface32& surface, const Frame& frame, const Rect& paint,
                                      const Rect& window, bool sameWidth) {
    if (surface.pixels == nullptr || frame.view.pixels == nullptr) {
        return;
    }
    const int32_t surfaceWidth = surface.stride;
    const int32_t frameWidth = frame.width;
    const int32_t frameHeight = frame.view.rows;
    const int32_t xStride = frame.xStride;
    const int32_t yStride = frame.view.stride;
    // The paint cut to the surface and to the window's size; source pixels before row and
    // column 0 do not exist.
    const Rect source = intersect(paint, {0, 0, std::min(surface.stride, window.width()),
                                          std::min(surface.rows, window.height())});
    if (sameWidth) {
        const Rect span = clipToFrame(source, window.left, window.top, frameWidth, frameHeight);
        if (!span.isEmpty()) {
            copyUpright(surface.pixels, surfaceWidth, frame.view.pixels, yStride, span, window);
        }
        return;
    }
    // Turned: a source row runs down or up a frame column, so the window's top and left are
    // measured along the frame's width and height respectively.
    const Rect span = clipToFrame(source, window.left, window.top, frameHeight, frameWidth);
    if (span.isEmpty()) {
        return;
    }
    if (platform.displayOrientation() == Platform::kOrientation270) {
        copyTurned270(surface.pixels, surfaceWidth, frame.view.pixels, frameWidth, xStride, yStride, span, window);
    } else {
        copyTurnedOther(surface.pixels, surfaceWidth, frame.view.pixels, frameHeight, xStride, yStride, span, window);
    }
}

Rect DisplayMemory::clipToFrame(Rect span, int32_t windowX, int32_t windowY, int32_t xLimit, int32_t yLimit) {
    // 64-bit: a window placed far out must not wrap back into the frame.
    span.left = static_cast<int32_t>(std::max<int64_t>(span.left, -int64_t{windowX}));
    span.top = static_cast<int32_t>(std::max<int64_t>(span.top, -int64_t{windowY}));
    span.right = static_cast<int32_t>(std::min<int64_t>(span.right, int64_t{xLimit} - windowX));
    span.bottom = static_cast<int32_t>(std::min<int64_t>(span.bottom, int64_t{yLimit} - windowY));
    return span;
}

// The frame has the surface's width: each row goes out as consecutive pixels.
void DisplayMemory::copyUpright(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame, int32_t yStride,
                                const Rect& span, const Rect& window) {
    const PixelKernels::ConvertRow convert = PixelKernels::active().convertTo565;
    const auto count = static_cast<std::size_t>(span.right - span.left);
    if (span.left == 0 && span.right == surfaceWidth && yStride == surfaceWidth && window.left == 0) {
        // Whole rows on both sides, as a full paint copies them: one run through them all.
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(span.top) * surfaceWidth;
        convert(surface + first, frame + (static_cast<std::ptrdiff_t>(window.top) * yStride + first),
                count * static_cast<std::size_t>(span.bottom - span.top));
        return;
    }
    for (int32_t y = span.top; y < span.bottom; ++y) {
        const uint32_t* from = surface + static_cast<std::ptrdiff_t>(y) * surfaceWidth + span.left;
        const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(window.top + y) * yStride + window.left;
        convert(from, frame + (row + span.left), count);
    }
}

// Turned 270 degrees: source rows become frame columns counted from the frame's right edge.
void DisplayMemory::copyTurned270(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame,
                                  int32_t frameWidth, int32_t xStride, int32_t yStride, const Rect& span,
                                  const Rect& window) {
    // Source (x, y) lands at frame x = frameWidth - 1 - (window.top + y), y = window.left + x: the
    // next source row one frame column to the left, the next source column one frame row down.
    const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(frameWidth - 1 - (window.top + span.top)) * xStride +
                                 static_cast<std::ptrdiff_t>(window.left + span.left) * yStride;
    turn(surface, surfaceWidth, span, frame + first, -static_cast<std::ptrdiff_t>(xStride), yStride);
}

// Turned the other way: source rows become frame columns from the left, source columns run
// up from the frame's bottom.
void DisplayMemory::copyTurnedOther(const uint32_t* surface, int32_t surfaceWidth, uint16_t* frame,
                                    int32_t frameHeight, int32_t xStride, int32_t yStride, const Rect& span,
                                    const Rect& window) {
    // Source (x, y) lands at frame x = window.top + y, y = frameHeight - 1 - (window.left + x): the
    // next source row one frame column to the right, the next source column one frame row up.
    const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(window.top + span.top) * xStride +
                                 static_cast<std::ptrdiff_t>(frameHeight - 1 - (window.left + span.left)) * yStride;
    turn(surface, surfaceWidth, span, frame + first, xStride, -static_cast<std::ptrdiff_t>(yStride));
}

}  // namespace vornel
