// A colour with straight (not premultiplied) alpha in floating point, 0..1 per channel, as the
// art generator paints before the bank quantises it.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vornel {

struct Colour {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;

    // 0xRRGGBB with the given opacity.
    static constexpr Colour rgb(uint32_t rgb, float alpha = 1) {
        return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
                static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
    }

    // The way from this colour to other, t from 0 (this) to 1 (other), alpha included.
    constexpr Colour mixedWith(const Colour& other, float t) const {
        return {r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t, a + (other.a - a) * t};
    }
    // Brighter (k > 1) or darker (k < 1), alpha unchanged.
    constexpr Colour lit(float k) const { return {r * k, g * k, b * k, a}; }
    constexpr Colour withAlpha(float alpha) const { return {r, g, b, alpha}; }

    // 0xAARRGGBB with every channel clamped to 0..255.
    uint32_t argb() const {
        const auto byte = [](float v) { return static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
        return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
    }
};

}  // namespace vornel
