// The emulated screen as the player sees it: display memory turned back upright, for the
// window and for screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/PhysicalDisplay.h"

namespace vornel {

class DisplayImage final {
public:
    static DisplayImage of(const PhysicalDisplay& display, int32_t orientation);

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    // 5-6-5 pixels, rows top to bottom.
    const std::vector<uint16_t>& pixels() const { return m_pixels; }
    uint16_t at(int32_t x, int32_t y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

    // 8-bit red, green and blue of a 5-6-5 pixel, each widened by repeating its top bits, so
    // that full intensity stays 255 and black stays 0.
    static uint32_t toRgb888(uint16_t pixel);

    // Writes the picture as an 8-bit RGB PNG; false with a one-line reason on failure.
    bool writePng(const std::string& path, std::string& error) const;

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::vector<uint16_t> m_pixels;
};

}  // namespace vornel
