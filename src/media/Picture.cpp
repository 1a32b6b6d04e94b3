// Drawing a picture into the depth-keyed surface: clipping once at entry, then whole-row copies
// for opaque pictures at natural size, or the sampling walk with run skipping, depth test and
// blending; both through the active pixel kernels (kernels/PixelKernels.h).
#include "media/Picture.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "kernels/PixelKernels.h"

namespace vornel {
namespace {

using namespace blit;

// How many surface pixels, counted from the picture's first, sample inside `size` picture
// pixels when each surface pixel moves inverseScale (Fixed) through the picture.
int64_t sampledSpan(int32_t size, Fixed inverseScale) {
    return ((static_cast<int64_t>(size) << kFixedShift) + inverseScale - 1) / inverseScale;
}

// One axis of the draw area: the caller's clip, cut to the surface [0, limit) and to the
// surface pixels whose samples fall inside the picture.
void clampAxis(int32_t& low, int32_t& high, int32_t limit, int32_t origin, int64_t span) {
    low = static_cast<int32_t>(std::max<int64_t>({low, 0, origin}));
    high = static_cast<int32_t>(std::min<int64_t>({high, limit, origin + span}));
}

// Opaque pictures at natural size: each row of the area is one copy. The picture's alpha and
// run bits land in the surface's depth byte.
void copyRows(const uint32_t* pixels, int32_t width, uint32_t* surface, int32_t stride, const Rect& area,
              int32_t originX, int32_t originY) {
    PixelKernels::active().copyRows(pixels + (area.top - originY) * width + (area.left - originX), width,
                                    surface + area.top * stride + area.left, stride,
                                    static_cast<std::size_t>(area.right - area.left),
                                    static_cast<std::size_t>(area.bottom - area.top));
}

}  // namespace

void Picture::noteTrueRuns() {
    m_trueRuns = 0;
    m_contentSpans.clear();
    if (m_width <= 0 || m_height <= 0 || m_pixels.length() < m_width * m_height) {
        return;
    }
    std::vector<uint32_t> spans(static_cast<std::size_t>(m_height));
    for (int32_t y = 0; y < m_height; ++y) {
        const uint32_t* row = m_pixels.data() + y * m_width;
        // Transparent pixels after column x in the row; past the row's end a skip ends the
        // row's drawing, so any count is true there.
        int32_t transparentAfter = kMaxRun;
        int32_t first = m_width;
        int32_t end = 0;
        for (int32_t x = m_width - 1; x >= 0; --x) {
            if (row[x] >> kAlphaShift != 0) {
                transparentAfter = 0;
                first = x;
                end = std::max(end, x + 1);
                continue;
            }
            if (static_cast<int32_t>(row[x] >> kRunShift) > transparentAfter) {
                return;
            }
            ++transparentAfter;
        }
        spans[static_cast<std::size_t>(y)] =
            first < end ? static_cast<uint32_t>(first) | static_cast<uint32_t>(end) << 16 : 0;
    }
    m_contentSpans = std::move(spans);
    m_trueRuns = 1;
}

int32_t Picture::blit(const Array<uint32_t>& surface, int32_t stride, int32_t /*rows: taken from the surface*/,
                      int32_t clipLeft, int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed left,
                      Fixed top, Fixed inverseScale, int32_t depth, Fixed opacity) {
    // Every row the array holds: length() rows cut to the whole rows of the array.
    return blitInto(surfaceOf(surface, stride, surface.length()), {clipLeft, clipTop, clipRight, clipBottom},
                    {left, top}, inverseScale, depth, opacity);
}

int32_t Picture::blitInto(const Surface32& surface, const Rect& clip, FixedPoint topLeft, Fixed inverseScale,
                          int32_t depth, Fixed opacity) {
    if (inverseScale == 0) {
        return 1;
    }
    if (inverseScale < 0 || surface.stride <= 0 || m_width <= 0 || m_height <= 0 ||
        m_pixels.length() < m_width * m_height) {
        return 0;
    }
    const int32_t originX = fromFixed(topLeft.x);
    const int32_t originY = fromFixed(topLeft.y);
    Rect area = clip;
    clampAxis(area.left, area.right, surface.stride, originX, sampledSpan(m_width, inverseScale));
    clampAxis(area.top, area.bottom, surface.rows, originY, sampledSpan(m_height, inverseScale));
    if (area.isEmpty()) {
        return 0;
    }
    if (inverseScale == kFixedOne && opacity == kFixedOne && m_opaque != 0) {
        copyRows(m_pixels.data(), m_width, surface.pixels, surface.stride, area, originX, originY);
        return 0;
    }
    const Sampling sampling{inverseScale, (1 << 30) / inverseScale, depth, opacity};
    const BlitRows rows{m_pixels.data(), m_width,  surface.pixels,          surface.stride,
                        area,           originX,  originY,                m_trueRuns != 0,
                        m_contentSpans.data()};
    return PixelKernels::active().drawBlitRows(rows, sampling);
}

}  // namespace vornel
