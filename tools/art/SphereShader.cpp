// Lambert and Blinn shading of a sphere's disc.
#include "art/SphereShader.h"

#include <algorithm>
#include <cmath>

namespace vornel {

namespace {

// Toward the light and toward the viewer, in the picture's axes (x right, y down, z to the viewer).
constexpr double kLightX = -0.45;
constexpr double kLightY = -0.6;
constexpr double kLightZ = 0.66;

}  // namespace

Colour SphereShader::at(double u, double v) const {
    const double rim = 0.97;
    const double r = std::hypot(u, v);
    if (r > rim) {
        u *= rim / r;
        v *= rim / r;
    }
    const double r2 = u * u + v * v;
    const double w = std::sqrt(1 - r2);
    const double lightLength = std::sqrt(kLightX * kLightX + kLightY * kLightY + kLightZ * kLightZ);
    const double diffuse = std::max(0.0, (u * kLightX + v * kLightY + w * kLightZ) / lightLength);
    // The half-way vector between light and viewer for the highlight.
    const double hx = kLightX / lightLength;
    const double hy = kLightY / lightLength;
    const double hz = kLightZ / lightLength + 1;
    const double halfLength = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double specular = std::pow(std::max(0.0, (u * hx + v * hy + w * hz) / halfLength), 28);
    // Light bouncing up from below keeps the shadowed side from going flat.
    const double bounce = 0.12 * std::max(0.0, v) * w;
    const auto shade = static_cast<float>(0.32 + 0.78 * diffuse + bounce);
    return m_base.lit(shade).mixedWith(Colour::rgb(0xFFFFFF), static_cast<float>(0.85 * specular)).withAlpha(1);
}

}  // namespace vornel
