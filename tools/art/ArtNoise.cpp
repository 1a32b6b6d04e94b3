// Deterministic hash and value noise for textures.
#include "art/ArtNoise.h"

#include <algorithm>
#include <cmath>

namespace vornel {

double ArtNoise::hash(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
}

double ArtNoise::smooth(double x, double y, uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<int32_t>(fx);
    const auto iy = static_cast<int32_t>(fy);
    const double tx = smoothstep(0, 1, x - fx);
    const double ty = smoothstep(0, 1, y - fy);
    const double top = hash(ix, iy, seed) + (hash(ix + 1, iy, seed) - hash(ix, iy, seed)) * tx;
    const double bottom = hash(ix, iy + 1, seed) + (hash(ix + 1, iy + 1, seed) - hash(ix, iy + 1, seed)) * tx;
    return (top + (bottom - top) * ty) * 2 - 1;
}

double ArtNoise::smoothstep(double edge0, double edge1, double x) {
    if (edge0 == edge1) {
        return x < edge0 ? 0 : 1;
    }
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}  // namespace vornel
