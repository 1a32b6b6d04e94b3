// Pictures 9 to 13: the bat in five angles, from turned far to the left (9) through
// straight on (11) to turned far to the right (13).
#pragma once

#include <cstdint>

#include "art/ArtPicture.h"
#include "art/Colour.h"

namespace vornel {

// The bat is ray-cast as a small solid: a round blade of wood with red rubber on the face
// toward the camera and black rubber behind, and a flared wooden handle. A bat away from the
// middle turns its face toward the middle (a turn about the upright axis, which shows its
// edge) and leans its handle toward the player's body (a roll in the picture's plane).
// Every angle has the same size and anchor, the blade's centre, where the ball is struck;
// the game scales all five alike to ten world units across.
class BatPicture {
public:
    // About natural size for the player's bat on a 240 x 320 Pocket PC.
    static constexpr int32_t kWidth = 38;
    static constexpr int32_t kHeight = 50;
    static constexpr int32_t kAnchorX = 19;
    static constexpr int32_t kAnchorY = 18;
    static constexpr int32_t kAngles = 5;

    // angle 0 is picture 9 (far left) ... 4 is picture 13 (far right).
    static ArtPicture make(int32_t angle);

private:
    struct Vector {
        double x, y, z;
    };
    struct Hit {
        double t;        // distance along the ray
        Vector normal;   // in the bat's own axes
        Colour colour;
    };

    BatPicture(double turn, double lean);

    Colour shade(double px, double py) const;
    bool castBlade(const Vector& origin, const Vector& direction, Hit& hit) const;
    bool castHandle(const Vector& origin, const Vector& direction, Hit& hit) const;
    Colour lit(const Hit& hit) const;
    Vector toBat(const Vector& v) const;
    Vector toPicture(const Vector& v) const;

    double m_turnCos, m_turnSin;  // about the upright axis
    double m_leanCos, m_leanSin;  // in the picture's plane
};

}  // namespace vornel
