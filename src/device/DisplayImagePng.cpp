// The display image as a PNG file, through libpng's simplified interface (the desktop's
// screenshots; the browser's tests read the canvas instead).
#include <png.h>

#include <cstring>

#include "device/DisplayImage.h"

namespace vornel {

bool DisplayImage::writePng(const std::string& path, std::string& error) const {
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
