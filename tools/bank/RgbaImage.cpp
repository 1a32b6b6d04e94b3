// The RGBA picture type of the bank writer.
#include "bank/RgbaImage.h"

namespace vornel {

RgbaImage::RgbaImage(int32_t width, int32_t height, uint32_t fill) {
    if (width < 1 || height < 1) {
        return;
    }
    m_width = width;
    m_height = height;
    m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

}  // namespace vornel
