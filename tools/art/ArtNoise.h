// Smooth value noise for the art generator's textures: the same numbers on every run.
#pragma once

#include <cstdint>

namespace vornel {

class ArtNoise {
public:
    // A hash of two integers to 0..1.
    static double hash(int32_t x, int32_t y, uint32_t seed = 0);
    // Value noise from -1 to 1, smooth between the integer lattice points.
    static double smooth(double x, double y, uint32_t seed = 0);
    // Hermite step from 0 at edge0 to 1 at edge1 (either order).
    static double smoothstep(double edge0, double edge1, double x);
};

}  // namespace vornel
