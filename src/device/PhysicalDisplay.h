// The handheld's physical screen: 16-bit 5-6-5 display memory in the screen's native upright
// orientation, and the mapping of the window's (logical) pixels onto it while the display is
// turned.
#pragma once

#include <cstdint>
#include <vector>

namespace vornel {

class PhysicalDisplay final {
public:
    PhysicalDisplay(int32_t width, int32_t height);

    // The display driver's conversion of a 0x..RRGGBB pixel to 5-6-5.
    static uint16_t toRgb565(uint32_t pixel) {
        return static_cast<uint16_t>(((pixel >> 19) & 0x1F) << 11 | ((pixel >> 10) & 0x3F) << 5 | ((pixel >> 3) & 0x1F));
    }
    // 90 degrees (1) and 270 degrees (4) turn the screen on its side.
    static bool isTurned(int32_t orientation) { return orientation != 0; }

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    uint16_t* memory() { return m_pixels.data(); }
    const uint16_t* memory() const { return m_pixels.data(); }
    uint16_t at(int32_t x, int32_t y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

    // The screen as the window sees it in that orientation: the sides swap while turned.
    int32_t logicalWidth(int32_t orientation) const { return isTurned(orientation) ? m_height : m_width; }
    int32_t logicalHeight(int32_t orientation) const { return isTurned(orientation) ? m_width : m_height; }

    // The index in display memory of the logical pixel (x, y), which must lie on the screen.
    // The same three cases as the presentation's copy into display memory: upright; turned
    // 270 degrees, x = width - 1 - y, y = x; turned otherwise, x = y, y = height - 1 - x.
    std::size_t indexOf(int32_t orientation, int32_t x, int32_t y) const;

    uint16_t logicalAt(int32_t orientation, int32_t x, int32_t y) const { return m_pixels[indexOf(orientation, x, y)]; }
    void setLogical(int32_t orientation, int32_t x, int32_t y, uint16_t colour) { m_pixels[indexOf(orientation, x, y)] = colour; }

private:
    int32_t m_width;
    int32_t m_height;
    std::vector<uint16_t> m_pixels;  // rows top to bottom, m_width pixels each
};

}  // namespace vornel
