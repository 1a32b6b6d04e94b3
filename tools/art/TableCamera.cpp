// The game's table camera at scale 1.0, through the game's own World projection.
#include "art/TableCamera.h"

#include <cmath>

namespace vornel {

namespace {

constexpr double kUnit = kFixedOne;

Fixed toWorld(double units) {
    return static_cast<Fixed>(std::lround(units * kUnit));
}

}  // namespace

TableCamera::TableCamera(int32_t centreX, int32_t centreY) : m_world(new World()), m_probe(new Psprite()) {
    m_world->setFocal(kFocalA, kFocalB);
    m_world->setPitch(kPitch);
    m_world->setPos(kCameraX, kCameraY, kCameraZ);
    m_world->setCentre(centreX, centreY);
}

Point TableCamera::project(double x, double y, double z) const {
    m_probe->setPos(toWorld(x), toWorld(y), toWorld(z));
    m_world->project(*m_probe);
    return {m_probe->m_x / kUnit, m_probe->m_y / kUnit};
}

double TableCamera::sine() const {
    return m_world->m_sin / kUnit;
}

double TableCamera::cosine() const {
    return m_world->m_cos / kUnit;
}

// The projection divides the focal factor by the depth and shifts twice by 15 bits: pixels
// per unit of sideways offset at unit depth.
double TableCamera::focalPixels() const {
    return static_cast<double>(m_world->m_focal) / (kUnit * kUnit);
}

double TableCamera::centreX() const {
    return m_world->m_centreX / kUnit;
}

double TableCamera::centreY() const {
    return m_world->m_centreY / kUnit;
}

double TableCamera::sideways(double px, double depth) const {
    return m_world->m_posX / kUnit + (px - centreX()) * depth / focalPixels();
}

// The projection's depth is s·dy + c·dz and its height c·dy − s·dz, and the picture row gives
// their ratio v; with dy fixed by the plane, that is one equation for dz.
bool TableCamera::onPlaneY(double px, double py, double planeY, double& x, double& z) const {
    const double s = sine();
    const double c = cosine();
    const double v = (centreY() - py) / focalPixels();
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
    x = sideways(px, depth);
    z = m_world->m_posZ / kUnit + dz;
    return true;
}

// As onPlaneY, with dz fixed by the plane instead.
bool TableCamera::onPlaneZ(double px, double py, double planeZ, double& x, double& y) const {
    const double s = sine();
    const double c = cosine();
    const double v = (centreY() - py) / focalPixels();
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
    x = sideways(px, depth);
    y = m_world->m_posY / kUnit + dy;
    return true;
}

}  // namespace vornel
