// Ray casting of the bat: blade and handle as slabs and a cylinder, lit from the upper left.
#include "art/BatPicture.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "art/ArtNoise.h"
#include "art/Canvas.h"

namespace vornel {

namespace {

// The blade and handle in pixels of the picture, in the bat's own axes: x across the face,
// y down the handle, z from the red face (toward the camera, negative) to the black one.
constexpr double kRadius = 17.2;
constexpr double kRubber = 1.3;   // each rubber layer
constexpr double kWood = 1.0;     // the blade's wood between them
constexpr double kHalfThickness = kRubber + kWood / 2;
constexpr double kEdgeTape = 1.4;  // the dark band round the red face
constexpr double kHandleTop = 13.0;
constexpr double kHandleBottom = 31.5;
constexpr double kHandleNeck = 2.3;   // half-width where the handle meets the blade
constexpr double kHandleFlare = 3.4;  // half-width at its end
constexpr double kHandleHalfDepth = 2.4;

// Turns (radians) of the five angles: toward the middle, and the lean of the handle.
constexpr double kTurnStep = 0.5;
constexpr double kLeanStep = 0.24;

constexpr Colour kRedRubber = Colour::rgb(0xD4202A);
constexpr Colour kBlackRubber = Colour::rgb(0x1A1A1E);
constexpr Colour kBladeWood = Colour::rgb(0xD8B07A);
constexpr Colour kHandleWood = Colour::rgb(0xC58B4E);

constexpr double kNoHit = std::numeric_limits<double>::max();

// Normalised light direction (toward the light) in the picture's axes: x right, y down, z away.
constexpr double kLightX = -0.46;
constexpr double kLightY = -0.62;
constexpr double kLightZ = -0.64;

}  // namespace

ArtPicture BatPicture::make(int32_t angle) {
    const double step = angle - (kAngles - 1) / 2.0;
    const BatPicture bat(step * kTurnStep, step * kLeanStep);
    Canvas canvas(kWidth, kHeight);
    // Eight by eight samples: the rubber's edges are thin.
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int32_t sy = 0; sy < 8; ++sy) {
                for (int32_t sx = 0; sx < 8; ++sx) {
                    const Colour c = bat.shade(x + (sx + 0.5) / 8, y + (sy + 0.5) / 8);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a > 0) {
                canvas.setPixel(x, y, {r / a, g / a, b / a, a / 64});
            }
        }
    }
    return {'r', canvas.toImage(), kAnchorX, kAnchorY};
}

BatPicture::BatPicture(double turn, double lean)
    : m_turnCos(std::cos(turn)), m_turnSin(std::sin(turn)), m_leanCos(std::cos(lean)), m_leanSin(std::sin(lean)) {}

// Picture axes to the bat's: undo the lean in the picture's plane, then the turn.
BatPicture::Vector BatPicture::toBat(const Vector& v) const {
    const double x = v.x * m_leanCos + v.y * m_leanSin;
    const double y = -v.x * m_leanSin + v.y * m_leanCos;
    return {x * m_turnCos - v.z * m_turnSin, y, x * m_turnSin + v.z * m_turnCos};
}

BatPicture::Vector BatPicture::toPicture(const Vector& v) const {
    const double x = v.x * m_turnCos + v.z * m_turnSin;
    const double z = -v.x * m_turnSin + v.z * m_turnCos;
    return {x * m_leanCos - v.y * m_leanSin, x * m_leanSin + v.y * m_leanCos, z};
}

Colour BatPicture::shade(double px, double py) const {
    const Vector origin = toBat({px - kAnchorX, py - kAnchorY, -100});
    const Vector direction = toBat({0, 0, 1});
    Hit blade{kNoHit, {}, {}};
    Hit handle{kNoHit, {}, {}};
    castBlade(origin, direction, blade);
    castHandle(origin, direction, handle);
    const Hit& nearest = blade.t <= handle.t ? blade : handle;
    return nearest.t == kNoHit ? Colour{} : lit(nearest);
}

// The blade is the part of the slab |z| <= half thickness inside the cylinder of kRadius
// about the z axis. Whichever surface the ray enters last is the one it hits.
bool BatPicture::castBlade(const Vector& o, const Vector& d, Hit& hit) const {
    if (std::abs(d.z) < 1e-9) {
        return false;
    }
    double slabIn = (-kHalfThickness - o.z) / d.z;
    double slabOut = (kHalfThickness - o.z) / d.z;
    if (slabIn > slabOut) {
        std::swap(slabIn, slabOut);
    }
    const double a = d.x * d.x + d.y * d.y;
    double rimIn = -kNoHit;
    double rimOut = kNoHit;
    if (a > 1e-12) {
        const double b = 2 * (o.x * d.x + o.y * d.y);
        const double c = o.x * o.x + o.y * o.y - kRadius * kRadius;
        const double disc = b * b - 4 * a * c;
        if (disc < 0) {
            return false;
        }
        rimIn = (-b - std::sqrt(disc)) / (2 * a);
        rimOut = (-b + std::sqrt(disc)) / (2 * a);
    } else if (o.x * o.x + o.y * o.y > kRadius * kRadius) {
        return false;
    }
    const double enter = std::max(slabIn, rimIn);
    if (enter > std::min(slabOut, rimOut)) {
        return false;
    }
    const Vector p{o.x + d.x * enter, o.y + d.y * enter, o.z + d.z * enter};
    if (slabIn >= rimIn) {
        const bool front = p.z < 0;
        const bool tape = std::hypot(p.x, p.y) > kRadius - kEdgeTape;
        hit = {enter, {0, 0, front ? -1.0 : 1.0}, front && !tape ? kRedRubber : kBlackRubber};
        // The red rubber's fine pimpled texture.
        if (front && !tape) {
            hit.colour = hit.colour.lit(static_cast<float>(1 + 0.05 * ArtNoise::smooth(p.x * 1.7, p.y * 1.7, 5)));
        }
        return true;
    }
    const double r = std::hypot(p.x, p.y);
    const Colour layer = p.z < -kWood / 2 ? kRedRubber.lit(0.7f) : p.z > kWood / 2 ? kBlackRubber : kBladeWood;
    hit = {enter, {p.x / r, p.y / r, 0}, layer};
    return true;
}

// The handle: a block that widens toward its end, below the blade.
bool BatPicture::castHandle(const Vector& o, const Vector& d, Hit& hit) const {
    double enter = -kNoHit;
    double leave = kNoHit;
    Vector normal{};
    const auto clip = [&](double origin, double direction, double low, double high, Vector lowNormal) {
        if (std::abs(direction) < 1e-9) {
            return origin >= low && origin <= high;
        }
        double t0 = (low - origin) / direction;
        double t1 = (high - origin) / direction;
        Vector n = lowNormal;
        if (t0 > t1) {
            std::swap(t0, t1);
            n = {-lowNormal.x, -lowNormal.y, -lowNormal.z};
        }
        if (t0 > enter) {
            enter = t0;
            normal = n;
        }
        leave = std::min(leave, t1);
        return enter <= leave;
    };
    if (!clip(o.y, d.y, kHandleTop, kHandleBottom, {0, -1, 0}) ||
        !clip(o.z, d.z, -kHandleHalfDepth, kHandleHalfDepth, {0, 0, -1})) {
        return false;
    }
    // The flare: the half-width where the ray enters decides whether it is inside.
    const double y = o.y + d.y * enter;
    const double t = std::clamp((y - kHandleTop) / (kHandleBottom - kHandleTop), 0.0, 1.0);
    const double halfWidth = kHandleNeck + (kHandleFlare - kHandleNeck) * t * t;
    if (!clip(o.x, d.x, -halfWidth, halfWidth, {-1, 0, 0})) {
        return false;
    }
    // Rounded corners of the handle's sides: lighten the faces toward their edges.
    const double x = o.x + d.x * enter;
    const double roundness = std::clamp(std::abs(x) / halfWidth, 0.0, 1.0);
    const Vector rounded{normal.x + (normal.z != 0 ? x / halfWidth * 0.8 * roundness : 0), normal.y, normal.z};
    const double length = std::sqrt(rounded.x * rounded.x + rounded.y * rounded.y + rounded.z * rounded.z);
    hit = {enter, {rounded.x / length, rounded.y / length, rounded.z / length}, kHandleWood};
    // Wood grain along the handle.
    hit.colour = hit.colour.lit(static_cast<float>(1 + 0.08 * std::sin(x * 2.6 + 0.9 * ArtNoise::smooth(x, y / 4, 9))));
    return true;
}

Colour BatPicture::lit(const Hit& hit) const {
    const Vector n = toPicture(hit.normal);
    const double diffuse = std::max(0.0, n.x * kLightX + n.y * kLightY + n.z * kLightZ);
    // Blinn highlight with the viewer straight ahead (toward -z).
    const double hx = kLightX;
    const double hy = kLightY;
    const double hz = kLightZ - 1;
    const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double specular = std::pow(std::max(0.0, (n.x * hx + n.y * hy + n.z * hz) / hl), 12);
    const auto shade = static_cast<float>(0.55 + 0.6 * diffuse);
    return hit.colour.lit(shade).mixedWith(Colour::rgb(0xFFFFFF), static_cast<float>(0.25 * specular)).withAlpha(1);
}

}  // namespace vornel
