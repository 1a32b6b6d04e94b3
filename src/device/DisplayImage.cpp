// Display memory turned upright.
#include "device/DisplayImage.h"

namespace vornel {

DisplayImage DisplayImage::of(const PhysicalDisplay& display, int32_t orientation) {
    DisplayImage picture;
    picture.m_width = display.logicalWidth(orientation);
    picture.m_height = display.logicalHeight(orientation);
    picture.m_pixels.resize(static_cast<std::size_t>(picture.m_width) * picture.m_height);
    std::size_t index = 0;
    for (int32_t y = 0; y < picture.m_height; ++y) {
        for (int32_t x = 0; x < picture.m_width; ++x) {
            picture.m_pixels[index++] = display.logicalAt(orientation, x, y);
        }
    }
    return picture;
}

uint32_t DisplayImage::toRgb888(uint16_t pixel) {
    const uint32_t red = pixel >> 11 & 0x1F;
    const uint32_t green = pixel >> 5 & 0x3F;
    const uint32_t blue = pixel & 0x1F;
    return (red << 3 | red >> 2) << 16 | (green << 2 | green >> 4) << 8 | (blue << 3 | blue >> 2);
}

}  // namespace vornel
