// Display memory and its orientation mapping.
#include "device/PhysicalDisplay.h"

#include "platform/Platform.h"

namespace vornel {

PhysicalDisplay::PhysicalDisplay(int32_t width, int32_t height)
    : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, 0) {}

std::size_t PhysicalDisplay::indexOf(int32_t orientation, int32_t x, int32_t y) const {
    int32_t frameX = x;
    int32_t frameY = y;
    if (orientation == Platform::kOrientation270) {
        frameX = m_width - 1 - y;
        frameY = x;
    } else if (isTurned(orientation)) {
        frameX = y;
        frameY = m_height - 1 - x;
    }
    return static_cast<std::size_t>(frameY) * m_width + frameX;
}

}  // namespace vornel
