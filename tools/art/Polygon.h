// A closed polygon in picture pixels, for filling projected faces and strokes.
#pragma once

#include <vector>

#include "art/Canvas.h"

namespace vornel {

struct Point {
    double x = 0;
    double y = 0;
};

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

    // A quadrilateral band of the given width along the segment from a to b.
    static Polygon stroke(Point a, Point b, double width);

private:
    std::vector<Point> m_points;
};

}  // namespace vornel
