// A closed polygon in picture pixels, for filling projected faces and strokes.
#pragma once

#include <vector>

#include "art/PixelBox.h"
#include "art/Point.h"

namespace vornel {

class Polygon {
public:
    Polygon() = default;
    explicit Polygon(std::vector<Point> points) : m_points(std::move(points)) {}

    void add(Point point) { m_points.push_back(point); }
    const std::vector<Point>& points() const { return m_points; }

    // Even-odd rule: a point inside an odd number of edges' spans is inside.
    bool contains(double x, double y) const;
    // The pixels the polygon touches.
    PixelBox bounds() const;

private:
    std::vector<Point> m_points;
};

}  // namespace vornel
