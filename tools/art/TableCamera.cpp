// The game's table camera at scale 1.0, through the game's own World projection.
#include "art/TableCamera.h"

#include <cmath>

namespace vornel {

namespace {

constexpr double kUnit = kFixedOne;

}  // namespace

TableCamera::TableCamera(int32_t centreX, int32_t centreY) : m_world(new World()), m_probe(new Psprite()) {
    m_world->setFocal(kFocalA, kFocalB);
    m_world->setPitch(kPitch);
    m_world->setPos(kCameraX, kCameraY, kCameraZ);
    m_world->setCentre(centreX, centreY);
}

Fixed TableCamera::toWorld(double units) {
    return static_cast<Fixed>(std::lround(units * kUnit));
}

ScreenPoint TableCamera::projectFixed(Fixed x, Fixed y, Fixed z) const {
    m_probe->setScale(kFixedOne);
    m_probe->setPos(x, y, z);
    m_probe->setRect(1, 1, 1, 1);
    m_world->project(*m_probe);
    ScreenPoint point;
    point.visible = !(m_probe->m_left == 0 && m_probe->m_top == 0 && m_probe->m_right == 0 && m_probe->m_bottom == 0);
    point.x = m_probe->m_x / kUnit;
    point.y = m_probe->m_y / kUnit;
    point.depth = 2.0 * m_probe->m_depth / kUnit;
    return point;
}

ScreenPoint TableCamera::project(double x, double y, double z) const {
    return projectFixed(toWorld(x), toWorld(y), toWorld(z));
}

double TableCamera::pixelsPerUnit(double x, double y, double z) const {
    const ScreenPoint left = project(x - 4, y, z);
    const ScreenPoint right = project(x + 4, y, z);
    return (right.x - left.x) / 8;
}

Fixed TableCamera::spriteScale(Fixed x, Fixed y, Fixed z, Fixed scale) const {
    // A probe one pixel wide reports its projected scale through the inverse it stores.
    m_probe->setScale(scale);
    m_probe->setPos(x, y, z);
    m_probe->m_invScale = 0;
    m_world->project(*m_probe);
    if (m_probe->m_invScale == 0) {
        return 0;
    }
    return static_cast<Fixed>(0x40000000 / m_probe->m_invScale);
}

double TableCamera::sine() const {
    return m_world->m_sin / kUnit;
}

double TableCamera::cosine() const {
    return m_world->m_cos / kUnit;
}

// The projection divides the focal factor by depth and shifts twice by 15 bits: pixels per
// unit of sideways offset at unit depth.
double TableCamera::focalPixels() const {
    return static_cast<double>(m_world->m_focal) / (kUnit * kUnit);
}

// Undoes the projection: v is the picture's height above the camera axis over the focal length,
// which fixes the ratio of up to depth along the ray.
bool TableCamera::onPlaneY(double px, double py, double planeY, double& x, double& z) const {
    const double s = sine();
    const double c = cosine();
    const double v = (m_world->m_centreY / kUnit - py) / focalPixels();
    const double dy = planeY - m_world->m_posY / kUnit;
    const double denominator = s + v * c;
    if (std::abs(denominator) < 1e-9) {
        return false;
    }
    const double dz = dy * (c - v * s) / denominator;
    const double depth = s * dy + c * dz;
    if (depth <= 0) {
        return false;
    }
    x = m_world->m_posX / kUnit + (px - m_world->m_centreX / kUnit) * depth / focalPixels();
    z = m_world->m_posZ / kUnit + dz;
    return true;
}

bool TableCamera::onPlaneZ(double px, double py, double planeZ, double& x, double& y) const {
    const double s = sine();
    const double c = cosine();
    const double v = (m_world->m_centreY / kUnit - py) / focalPixels();
    const double dz = planeZ - m_world->m_posZ / kUnit;
    const double denominator = c - v * s;
    if (std::abs(denominator) < 1e-9) {
        return false;
    }
    const double dy = dz * (v * c + s) / denominator;
    const double depth = s * dy + c * dz;
    if (depth <= 0) {
        return false;
    }
    x = m_world->m_posX / kUnit + (px - m_world->m_centreX / kUnit) * depth / focalPixels();
    y = m_world->m_posY / kUnit + dy;
    return true;
}

}  // namespace vornel
