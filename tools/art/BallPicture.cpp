// The ball, its shadow and the score marker.
#include "art/BallPicture.h"

#include <cmath>

#include "art/Canvas.h"
#include "art/SphereShader.h"

namespace vornel {

namespace {

constexpr Colour kBallOrange = Colour::rgb(0xFF8A24);

// A shaded ball filling a square canvas of size pixels, rim anti-aliased by coverage.
Canvas shadedBall(int32_t size, Colour base, double inset) {
    Canvas canvas(size, size);
    const double centre = size / 2.0;
    const double radius = centre - inset;
    const SphereShader shader(base);
    canvas.fill({0, 0, size, size},
                [&](double x, double y) { return std::hypot(x - centre, y - centre) <= radius; },
                [&](double x, double y) { return shader.at((x - centre) / radius, (y - centre) / radius); });
    return canvas;
}

}  // namespace

ArtPicture BallPicture::ball() {
    return {'r', shadedBall(kBallSize, kBallOrange, 0.2).toImage(), kBallSize / 2, kBallSize / 2};
}

// Soft all round: darkest in the middle, fading to nothing at the ellipse's rim.
ArtPicture BallPicture::shadow() {
    Canvas canvas(kShadowWidth, kShadowHeight);
    const double cx = kShadowWidth / 2.0;
    const double cy = kShadowHeight / 2.0;
    canvas.paintAll([&](double x, double y) {
        const double u = (x - cx) / cx;
        const double v = (y - cy) / cy;
        const double fall = std::max(0.0, 1 - (u * u + v * v) * 0.8);
        return Colour::rgb(0x000000, static_cast<float>(0.7 * std::pow(fall, 1.3)));
    });
    return {'r', canvas.toImage(), kShadowWidth / 2, kShadowHeight / 2};
}

// A little ball with a dark rim, so that it reads over the floor, the table and the hall.
ArtPicture BallPicture::scoreMarker() {
    Canvas canvas(kMarkerSize, kMarkerSize);
    const double centre = kMarkerSize / 2.0;
    canvas.fill({0, 0, kMarkerSize, kMarkerSize},
                [&](double x, double y) { return std::hypot(x - centre, y - centre) <= centre; },
                [&](double, double) { return Colour::rgb(0x101820, 0.85f); });
    const Canvas inner = shadedBall(kMarkerSize, kBallOrange, 1.0);
    for (int32_t y = 0; y < kMarkerSize; ++y) {
        for (int32_t x = 0; x < kMarkerSize; ++x) {
            canvas.blend(x, y, inner.pixel(x, y), 1);
        }
    }
    return {'r', canvas.toImage(), kMarkerAnchorX, kMarkerAnchorY};
}

}  // namespace vornel
