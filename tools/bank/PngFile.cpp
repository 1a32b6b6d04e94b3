// PNG files in and out with libpng's simplified interface (png_image), which reports every
// problem as a message in the image structure instead of jumping out of the caller.
#include "bank/PngFile.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace vornel {

namespace {

// libpng keeps 8-bit RGBA in memory as the bytes R, G, B, A.
uint32_t argbFromBytes(const uint8_t* rgba) {
    return (static_cast<uint32_t>(rgba[3]) << 24) | (static_cast<uint32_t>(rgba[0]) << 16) |
           (static_cast<uint32_t>(rgba[1]) << 8) | rgba[2];
}

void argbToBytes(uint32_t argb, uint8_t* rgba) {
    rgba[0] = static_cast<uint8_t>(argb >> 16);
    rgba[1] = static_cast<uint8_t>(argb >> 8);
    rgba[2] = static_cast<uint8_t>(argb);
    rgba[3] = static_cast<uint8_t>(argb >> 24);
}

png_image emptyImageDescription() {
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    return description;
}

std::string reasonOf(const png_image& description) {
    return description.message[0] != '\0' ? std::string(description.message) : std::string("not a readable PNG");
}

}  // namespace

bool PngFile::read(const std::string& path, RgbaImage& image, std::string& error) {
    png_image description = emptyImageDescription();
    if (png_image_begin_read_from_file(&description, path.c_str()) == 0) {
        error = reasonOf(description);
        return false;
    }
    if (description.width < 1 || description.height < 1 || description.width > kMaxSide ||
        description.height > kMaxSide || int64_t{description.width} * description.height > kMaxPixels) {
        png_image_free(&description);
        error = "picture is " + std::to_string(description.width) + " x " + std::to_string(description.height) +
                " pixels; each side must be 1.." + std::to_string(kMaxSide) + " and the whole at most " +
                std::to_string(kMaxPixels) + " pixels";
        return false;
    }
    description.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(description));
    if (png_image_finish_read(&description, nullptr, bytes.data(), 0, nullptr) == 0) {
        error = reasonOf(description);
        png_image_free(&description);
        return false;
    }
    RgbaImage result(static_cast<int32_t>(description.width), static_cast<int32_t>(description.height));
    std::vector<uint32_t>& pixels = result.pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = argbFromBytes(&bytes[i * 4]);
    }
    image = std::move(result);
    return true;
}

bool PngFile::write(const std::string& path, const RgbaImage& image, std::string& error) {
    if (image.isEmpty()) {
        error = "cannot write an empty picture";
        return false;
    }
    std::vector<uint8_t> bytes(image.pixels().size() * 4);
    for (std::size_t i = 0; i < image.pixels().size(); ++i) {
        argbToBytes(image.pixels()[i], &bytes[i * 4]);
    }
    png_image description = emptyImageDescription();
    description.width = static_cast<png_uint_32>(image.width());
    description.height = static_cast<png_uint_32>(image.height());
    description.format = PNG_FORMAT_RGBA;
    if (png_image_write_to_file(&description, path.c_str(), 0, bytes.data(), 0, nullptr) == 0) {
        error = reasonOf(description);
        png_image_free(&description);
        return false;
    }
    return true;
}

}  // namespace vornel
