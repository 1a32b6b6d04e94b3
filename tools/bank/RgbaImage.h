// A picture on its way into the bank: width × height pixels 0xAARRGGBB with straight alpha.
#pragma once

#include <cstdint>
#include <vector>

namespace vornel {

// Pixels are 0xAARRGGBB (alpha in the top byte, as the game writes its colours), row by row
// from the top, and the colour is not premultiplied by the alpha.
class RgbaImage {
public:
    RgbaImage() = default;
    // width × height pixels of fill; a size below 1 gives the empty image.
    RgbaImage(int32_t width, int32_t height, uint32_t fill = 0);

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    int32_t pixelCount() const { return m_width * m_height; }
    bool isEmpty() const { return m_pixels.empty(); }

    // The caller keeps x and y inside the image.
    uint32_t pixel(int32_t x, int32_t y) const { return m_pixels[index(x, y)]; }
    void setPixel(int32_t x, int32_t y, uint32_t argb) { m_pixels[index(x, y)] = argb; }

    // Row-major pixels, pixelCount() of them.
    const std::vector<uint32_t>& pixels() const { return m_pixels; }
    std::vector<uint32_t>& pixels() { return m_pixels; }

    static uint32_t alpha(uint32_t argb) { return argb >> 24; }
    static uint32_t colour(uint32_t argb) { return argb & 0xFFFFFF; }

private:
    std::size_t index(int32_t x, int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
    }

    int32_t m_width = 0;
    int32_t m_height = 0;
    std::vector<uint32_t> m_pixels;
};

}  // namespace vornel
