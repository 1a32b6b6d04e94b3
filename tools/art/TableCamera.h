// The game's table camera at scale 1.0, used to draw pictures that line up with what the
// table view projects: world points in, picture pixels out, and back again onto a plane.
#pragma once

#include <cstdint>

#include "art/Point.h"
#include "core/Fixed.h"
#include "core/Ref.h"
#include "sprites/Psprite.h"
#include "sprites/World.h"

namespace vornel {

class TableCamera {
public:
    // Where the camera sits and how it looks, as the game sets up its table view: 96 units up
    // and 192 units behind the net, pitched down by 0.05 of a turn, with the focal factor of
    // a view 480 pixels wide.
    static constexpr Fixed kCameraX = 0;
    static constexpr Fixed kCameraY = 0x300000;
    static constexpr Fixed kCameraZ = -0x600000;
    static constexpr Turn kPitch = 0x666;
    static constexpr int32_t kFocalA = 0x2CCA;
    static constexpr int32_t kFocalB = 480;

    // A camera whose axis meets the picture at whole pixel (centreX, centreY).
    TableCamera(int32_t centreX, int32_t centreY);

    // Projects a world point (world units, not Fixed) through the game's own projection, with
    // its fixed-point rounding, so that drawn edges fall where the game puts sprites.
    Point project(double x, double y, double z) const;

    // The world point on the level plane at height planeY (world units) that shows at picture
    // point (px, py); false when that ray never meets the plane in front of the camera.
    bool onPlaneY(double px, double py, double planeY, double& x, double& z) const;
    // The same for the upright plane at depth planeZ: answers the point's x and y.
    bool onPlaneZ(double px, double py, double planeZ, double& x, double& y) const;

private:
    // The camera's own numbers in floating point, read back from the game's World.
    double sine() const;
    double cosine() const;
    double focalPixels() const;
    double centreX() const;
    double centreY() const;
    // The world x of a picture column at a depth (world units).
    double sideways(double px, double depth) const;

    Ref<World> m_world;
    Ref<Psprite> m_probe;
};

}  // namespace vornel
