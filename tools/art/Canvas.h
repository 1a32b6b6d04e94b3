// A floating-point painting surface for the art generator: shapes are filled with a colour
// function and anti-aliased by supersampling, then composited "over" what is already there.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "art/Colour.h"
#include "art/PixelBox.h"
#include "bank/RgbaImage.h"

namespace vornel {

class Canvas {
public:
    // Samples a pixel takes in each direction when a shape's edge crosses it.
    static constexpr int32_t kSamples = 4;

    Canvas(int32_t width, int32_t height, Colour fill = {});

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    PixelBox bounds() const { return {0, 0, m_width, m_height}; }

    // The straight-alpha colour of the pixel; the caller keeps x and y inside the canvas.
    Colour pixel(int32_t x, int32_t y) const;
    // Composites the colour over the pixel with its alpha scaled by coverage (0..1); pixels
    // outside the canvas are ignored.
    void blend(int32_t x, int32_t y, const Colour& colour, float coverage);
    // Replaces the pixel outright.
    void setPixel(int32_t x, int32_t y, const Colour& colour);

    // Paints the shape inside the box: inside(x, y) says whether a point (pixel coordinates,
    // pixel centres at .5) lies in the shape, paint(x, y) gives the colour at a pixel centre.
    template <typename Inside, typename Paint>
    void fill(PixelBox box, Inside inside, Paint paint) {
        box = clipped(box);
        for (int32_t y = box.top; y < box.bottom; ++y) {
            for (int32_t x = box.left; x < box.right; ++x) {
                const float coverage = coverageOf(x, y, inside);
                if (coverage > 0) {
                    blend(x, y, paint(x + 0.5, y + 0.5), coverage);
                }
            }
        }
    }

    // Fills, in one colour, the shape where distance(x, y) is below 0 (a signed distance).
    template <typename Distance>
    void fillShape(Distance distance, const Colour& colour) {
        fill(bounds(), [&](double x, double y) { return distance(x, y) < 0; },
             [&](double, double) { return colour; });
    }

    // Paints every pixel with a colour (alpha included) that the function gives for its centre.
    template <typename Paint>
    void paintAll(Paint paint) {
        for (int32_t y = 0; y < m_height; ++y) {
            for (int32_t x = 0; x < m_width; ++x) {
                blend(x, y, paint(x + 0.5, y + 0.5), 1);
            }
        }
    }

    // Straight-alpha 8-bit pixels for the bank.
    RgbaImage toImage() const;

private:
    struct Premultiplied {
        float r, g, b, a;
    };

    template <typename Inside>
    float coverageOf(int32_t x, int32_t y, Inside inside) const {
        int32_t hits = 0;
        for (int32_t sy = 0; sy < kSamples; ++sy) {
            for (int32_t sx = 0; sx < kSamples; ++sx) {
                if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) {
                    ++hits;
                }
            }
        }
        return static_cast<float>(hits) / (kSamples * kSamples);
    }

    PixelBox clipped(PixelBox box) const {
        return {std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, m_width),
                std::min(box.bottom, m_height)};
    }
    std::size_t index(int32_t x, int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
    }

    int32_t m_width;
    int32_t m_height;
    std::vector<Premultiplied> m_pixels;
};

}  // namespace vornel
