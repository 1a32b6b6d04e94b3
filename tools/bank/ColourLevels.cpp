// Alpha codes, RGB555 levels and the premultiplication of bank pictures.
#include "bank/ColourLevels.h"

namespace vornel {

namespace {

constexpr int32_t kFullEighths = 8;
constexpr uint32_t kLevels5 = 31;

uint32_t channel(uint32_t rgb, int shift) {
    return (rgb >> shift) & 0xFF;
}

// The nearest of 0, 8, ..., 248 to an 8-bit channel, as a 5-bit level.
uint32_t nearestLevel(uint32_t value) {
    const uint32_t level = (value + 4) >> 3;
    return level > kLevels5 ? kLevels5 : level;
}

}  // namespace

int32_t ColourLevels::alphaCode(uint32_t alpha) {
    return static_cast<int32_t>((alpha * 7 + 127) / 255);
}

uint32_t ColourLevels::alphaOfCode(int32_t code) {
    return (static_cast<uint32_t>(code) * 255 + 3) / 7;
}

uint32_t ColourLevels::toRgb555(uint32_t rgb) {
    return (nearestLevel(channel(rgb, 16)) << 10) | (nearestLevel(channel(rgb, 8)) << 5) |
           nearestLevel(channel(rgb, 0));
}

uint32_t ColourLevels::expandRgb555(uint32_t rgb555) {
    const uint32_t red = (rgb555 >> 10) & kLevels5;
    const uint32_t green = (rgb555 >> 5) & kLevels5;
    const uint32_t blue = rgb555 & kLevels5;
    return (red << 19) | (green << 11) | (blue << 3);
}

uint32_t ColourLevels::runLengthStoredColour(uint32_t rgb, int32_t code) {
    uint32_t numerator = 1;
    uint32_t denominator = 1;
    if (code == 3) {
        numerator = 3;
        denominator = 4;
    } else if (code == 5) {
        numerator = 5;
        denominator = 6;
    } else {
        return rgb;
    }
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        result |= ((channel(rgb, shift) * numerator + denominator / 2) / denominator) << shift;
    }
    return result;
}

uint32_t ColourLevels::unpremultiply(uint32_t colour, int32_t code) {
    if (code <= kTransparentCode) {
        return 0;
    }
    if (code >= kOpaqueCode) {
        return colour & 0xFFFFFF;
    }
    const auto eighths = static_cast<uint32_t>(code);
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t scaled = (channel(colour, shift) * kFullEighths + eighths / 2) / eighths;
        result |= (scaled > 255 ? 255 : scaled) << shift;
    }
    return result;
}

}  // namespace vornel
