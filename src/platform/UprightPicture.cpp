// Display memory turned upright, and its PNG through libpng's simplified interface.
#include "platform/UprightPicture.h"

#include <png.h>

#include <cstring>

namespace vornel {

UprightPicture UprightPicture::of(const PhysicalDisplay& display, int32_t orientation) {
    UprightPicture picture;
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

uint32_t UprightPicture::toRgb888(uint16_t pixel) {
    const uint32_t red = pixel >> 11 & 0x1F;
    const uint32_t green = pixel >> 5 & 0x3F;
    const uint32_t blue = pixel & 0x1F;
    return (red << 3 | red >> 2) << 16 | (green << 2 | green >> 4) << 8 | (blue << 3 | blue >> 2);
}

bool UprightPicture::writePng(const std::string& path, std::string& error) const {
    if (m_pixels.empty()) {
        error = "the screen has no pixels";
        return false;
    }
    std::vector<uint8_t> bytes(m_pixels.size() * 3);
    for (std::size_t i = 0; i < m_pixels.size(); ++i) {
        const uint32_t rgb = toRgb888(m_pixels[i]);
        bytes[i * 3] = static_cast<uint8_t>(rgb >> 16);
        bytes[i * 3 + 1] = static_cast<uint8_t>(rgb >> 8);
        bytes[i * 3 + 2] = static_cast<uint8_t>(rgb);
    }
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(m_width);
    description.height = static_cast<png_uint_32>(m_height);
    description.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&description, path.c_str(), 0, bytes.data(), 0, nullptr) == 0) {
        error = description.message[0] != '\0' ? description.message : "the file cannot be written";
        png_image_free(&description);
        return false;
    }
    return true;
}

}  // namespace vornel
