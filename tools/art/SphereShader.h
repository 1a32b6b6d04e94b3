// Lights a ball: the colour of a sphere's visible point under a light from the upper left,
// with a soft specular spot, for the ball and the little balls of the icons and the title.
#pragma once

#include "art/Colour.h"

namespace vornel {

class SphereShader {
public:
    explicit SphereShader(Colour base) : m_base(base) {}

    // (u, v) is the point on the sphere's disc, -1..1 from its centre (v grows downward).
    // Points on or outside the rim are shaded as the rim just inside, so that the pixels an
    // edge only partly covers get the colour of the ball's edge.
    Colour at(double u, double v) const;

private:
    Colour m_base;
};

}  // namespace vornel
