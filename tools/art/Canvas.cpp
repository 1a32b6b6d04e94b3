// The art generator's painting surface.
#include "art/Canvas.h"

namespace vornel {

Canvas::Canvas(int32_t width, int32_t height, Colour fill)
    : m_width(std::max(width, 1)), m_height(std::max(height, 1)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height),
               Premultiplied{fill.r * fill.a, fill.g * fill.a, fill.b * fill.a, fill.a}) {}

Colour Canvas::pixel(int32_t x, int32_t y) const {
    const Premultiplied& p = m_pixels[index(x, y)];
    if (p.a <= 0) {
        return {};
    }
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::blend(int32_t x, int32_t y, const Colour& colour, float coverage) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    const float alpha = std::clamp(colour.a * coverage, 0.0f, 1.0f);
    Premultiplied& p = m_pixels[index(x, y)];
    const float keep = 1 - alpha;
    p = {colour.r * alpha + p.r * keep, colour.g * alpha + p.g * keep, colour.b * alpha + p.b * keep,
         alpha + p.a * keep};
}

void Canvas::setPixel(int32_t x, int32_t y, const Colour& colour) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    m_pixels[index(x, y)] = {colour.r * colour.a, colour.g * colour.a, colour.b * colour.a, colour.a};
}

RgbaImage Canvas::toImage() const {
    RgbaImage image(m_width, m_height);
    for (int32_t y = 0; y < m_height; ++y) {
        for (int32_t x = 0; x < m_width; ++x) {
            image.setPixel(x, y, pixel(x, y).argb());
        }
    }
    return image;
}

}  // namespace vornel
