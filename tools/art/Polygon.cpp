// Point-in-polygon tests and bounds for the art generator's faces.
#include "art/Polygon.h"

#include <limits>

namespace vornel {

bool Polygon::contains(double x, double y) const {
    bool inside = false;
    const std::size_t count = m_points.size();
    for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
        const Point& a = m_points[i];
        const Point& b = m_points[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

PixelBox Polygon::bounds() const {
    if (m_points.empty()) {
        return {};
    }
    double left = std::numeric_limits<double>::max();
    double top = left;
    double right = std::numeric_limits<double>::lowest();
    double bottom = right;
    for (const Point& p : m_points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return PixelBox::around(left, top, right, bottom);
}

}  // namespace vornel
