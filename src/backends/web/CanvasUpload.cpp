// The changed part of display memory, converted for the page's canvas.
#include "backends/web/CanvasUpload.h"

#include "device/DisplayImage.h"

namespace vornel {

CanvasUpload::Part CanvasUpload::take(const PhysicalDisplay& display, int32_t orientation) {
    const Rect screen{0, 0, display.logicalWidth(orientation), display.logicalHeight(orientation)};
    const Rect area = intersect(m_changed, screen);
    m_changed = Rect{};
    if (area.isEmpty()) {
        return {};
    }
    m_rgba.resize(static_cast<std::size_t>(area.width()) * area.height());
    // Along a logical row display memory runs 1 pixel apart upright and a whole row apart turned.
    const std::ptrdiff_t step = area.width() < 2 ? 1
                                                 : static_cast<std::ptrdiff_t>(display.indexOf(orientation, 1, 0)) -
                                                       static_cast<std::ptrdiff_t>(display.indexOf(orientation, 0, 0));
    uint32_t* out = m_rgba.data();
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const auto first = static_cast<std::ptrdiff_t>(display.indexOf(orientation, area.left, y));
        convertRow(display.memory(), first, step, out, area.width());
        out += area.width();
    }
    return {area, reinterpret_cast<const uint8_t*>(m_rgba.data())};
}

uint32_t CanvasUpload::rgbaOf(uint16_t pixel) {
    const uint32_t rgb = DisplayImage::toRgb888(pixel);
    return 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

void CanvasUpload::convertRow(const uint16_t* memory, std::ptrdiff_t first, std::ptrdiff_t step, uint32_t* out,
                              int32_t count) {
    const uint16_t* from = memory + first;
    if (step == 1) {
        for (int32_t x = 0; x < count; ++x) {
            out[x] = rgbaOf(from[x]);
        }
        return;
    }
    for (int32_t x = 0; x < count; ++x) {
        out[x] = rgbaOf(*from);
        from += step;
    }
}

}  // namespace vornel
