// The game's table camera at scale 1.0, used to draw pictures that line up with what the
// table view projects: world points in, picture pixels out.
#pragma once

#include <cstdint>

#include "core/Fixed.h"
#include "core/Ref.h"
#include "sprites/Psprite.h"
#include "sprites/World.h"

namespace vornel {

// A projected world point: where it lands in a picture drawn at scale 1.0 whose camera centre
// is the picture's anchor, in pixels with fractions, and its projected depth in world units.
struct ScreenPoint {
    double x = 0;
    double y = 0;
    double depth = 0;
    bool visible = false;
};

class TableCamera {
public:
    // Where the camera sits and how it looks, as the game sets up its table view: the camera
    // 96 units up and 192 units behind the net, pitched down by 0.05 of a turn, with the
    // focal factor of a 480-pixel-wide view.
    static constexpr Fixed kCameraX = 0;
    static constexpr Fixed kCameraY = 0x300000;
    static constexpr Fixed kCameraZ = -0x600000;
    static constexpr Turn kPitch = 0x666;
    static constexpr int32_t kFocalA = 0x2CCA;
    static constexpr int32_t kFocalB = 480;

    // A camera whose axis meets the picture at whole pixel (centreX, centreY).
    TableCamera(int32_t centreX, int32_t centreY);

    // Projects a world point (world units, not Fixed) through the game's own projection.
    ScreenPoint project(double x, double y, double z) const;
    // The same for a point given in the game's Fixed world units.
    ScreenPoint projectFixed(Fixed x, Fixed y, Fixed z) const;
    // Pixels per world unit across the view at the point's depth.
    double pixelsPerUnit(double x, double y, double z) const;
    // The scale the view gives a sprite of the given scale at the world point (Fixed), with
    // the view's snap of scales near 1.0; 0 when the point is out of view.
    Fixed spriteScale(Fixed x, Fixed y, Fixed z, Fixed scale) const;

    // The world point on the horizontal plane at height planeY (world units) that shows at
    // picture point (px, py); false when that ray never meets the plane in front of the camera.
    bool onPlaneY(double px, double py, double planeY, double& x, double& z) const;
    // The same for the upright plane at depth planeZ: answers the point's x and y.
    bool onPlaneZ(double px, double py, double planeZ, double& x, double& y) const;

    static Fixed toWorld(double units);

private:
    // The camera's own numbers in floating point, read back from the game's World.
    double sine() const;
    double cosine() const;
    double focalPixels() const;

    Ref<World> m_world;
    Ref<Psprite> m_probe;
};

}  // namespace vornel
