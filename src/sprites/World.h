// A sprite whose children live in the game's three-dimensional space: each is placed on the
// screen by projecting its position through a tilted perspective camera, and sorted far to near.
#pragma once

#include <cstdint>

#include "core/Fixed.h"
#include "sprites/Psprite.h"

namespace vornel {

class World : public Psprite {
public:
    World() = default;

    // Projects the children whose 3D position or picture changed (all of them when the
    // camera or the world's own placement changed), reports their old and new rectangles,
    // and re-sorts them deepest first. Children are never laid out as 2D sprites.
    void layout(Fixed originX, Fixed originY, Fixed scale) override;

    // Moves the point where the camera axis meets the screen by whole pixels.
    virtual void moveCentre(int32_t dx, int32_t dy);
    // Sets the perspective factor to b / (2a) in the projection's units; a of 0 is ignored.
    virtual void setFocal(int32_t a, int32_t b);
    // Puts the point where the camera axis meets the screen at whole pixels (x, y).
    virtual void setCentre(int32_t x, int32_t y);
    // Places one sprite by projection: screen position, scale, rectangle and depth. A sprite
    // behind the camera, too near or too far gets the empty rectangle.
    virtual void project(Psprite& sprite);
    // Tilts the camera by the angle (a Turn; positive looks down).
    virtual void setPitch(Turn angle);

    // The number a child's placement depends on: its 3D position and its picture.
    static int32_t childSignature(const Psprite& child);

    // Nearest and farthest projected depth (Fixed) a child may have and still be shown.
    static constexpr Fixed kNearestDepth = 0xC0001;
    static constexpr uint32_t kDepthSpan = 0x7F3FFFF;  // added to kNearestDepth: the farthest

    int64_t m_focal = 512;  // perspective factor: screen Fixed units per unit of depth
    Fixed m_cos = kFixedOne;  // cosine of the pitch
    Fixed m_sin = 0;          // sine of the negated pitch
    Fixed m_centreX = 0;      // where the camera axis meets the screen, Fixed pixels
    Fixed m_centreY = 0;

protected:
    ~World() override = default;

private:
    int32_t worldSignature(Fixed worldX, Fixed worldY) const;
    void projectAll();
    bool projectChanged();
    void sortByDepth();
};

}  // namespace vornel
