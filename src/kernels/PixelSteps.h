// Word-at-a-time steps of the fills and the 5-6-5 conversion that every kernel set uses, for
// its own loops or for the pixels at a row's end. Internal linkage for the reason BlitWalk.h
// gives: each file, the -mavx2 one included, compiles its own copy. Only the kernels library
// includes this header.
#pragma once

#include <cstdint>

namespace vornel::kernels {
namespace {

// A 32-bit pixel (0xXXRRGGBB) as 5-6-5: the top five bits of red, six of green, five of blue.
inline uint16_t to565(uint32_t pixel) {
    return static_cast<uint16_t>(((pixel >> 19) & 0x1F) << 11 | ((pixel >> 10) & 0x3F) << 5 | ((pixel >> 3) & 0x1F));
}

// Half of each channel of the fill colour, which a half fill adds to half the surface's.
inline uint32_t halfOf(uint32_t colour) {
    return (colour >> 1) & 0x7F7F7F;
}

// Three quarters of each channel, which a quarter fill adds to a quarter of the surface's.
inline uint32_t threeQuartersOf(uint32_t colour) {
    const uint32_t half = halfOf(colour);
    return half + ((half >> 1) & 0x3F3F3F);
}

// channel·weight/256 for every channel, rounded down, the depth byte cleared. Red and blue are
// multiplied together: each product stays below 2^16, so the two cannot overlap in the word.
inline uint32_t weighChannels(uint32_t pixel, uint32_t weight) {
    const uint32_t redBlue = ((pixel & 0xFF00FF) * weight >> 8) & 0xFF00FF;
    const uint32_t green = ((pixel & 0x00FF00) * weight >> 8) & 0x00FF00;
    return redBlue | green;
}

// A mixed fill keeps old·(255-alpha)/256 of the surface and adds colour·alpha/256.
struct MixWeights {
    uint32_t keep;
    uint32_t colourShare;
};

inline MixWeights mixWeightsOf(uint32_t colour) {
    const uint32_t alpha = colour >> 24;
    return MixWeights{255 - alpha, weighChannels(colour, alpha)};
}

// The two weights add up to 255, so no channel's sum reaches 256: adding whole words carries
// nothing from one channel into the next.
inline uint32_t mixChannels(uint32_t old, uint32_t keep, uint32_t colourShare) {
    return weighChannels(old, keep) + colourShare;
}

}  // namespace
}  // namespace vornel::kernels
