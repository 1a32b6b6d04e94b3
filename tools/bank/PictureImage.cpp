// Export of decoded pictures.
#include "bank/PictureImage.h"

#include "bank/ColourLevels.h"

namespace vornel {

namespace {

uint32_t straightPixel(uint32_t word) {
    const auto code = static_cast<int32_t>(word >> kAlphaShift);
    if (code == ColourLevels::kTransparentCode) {
        return 0;
    }
    const uint32_t colour = word & kColourMask;
    const uint32_t straight = ColourLevels::unpremultiply(colour, code);
    return (ColourLevels::alphaOfCode(code) << 24) | straight;
}

}  // namespace

RgbaImage PictureImage::fromPicture(const Picture& picture) {
    const int32_t width = picture.m_width;
    const int32_t height = picture.m_height;
    if (width < 1 || height < 1 || picture.m_pixels.length() < width * height) {
        return RgbaImage();
    }
    RgbaImage image(width, height);
    std::vector<uint32_t>& pixels = image.pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = straightPixel(picture.m_pixels[static_cast<int32_t>(i)]);
    }
    return image;
}

}  // namespace vornel
