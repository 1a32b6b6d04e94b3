// Signed distances of the simple shapes the interface pictures are made of, in pixels:
// negative inside, positive outside, so that edges, rims and glows follow from one number.
#pragma once

#include <algorithm>
#include <cmath>

namespace vornel {

class Shapes {
public:
    // A rectangle centred at (cx, cy) with half sizes (hw, hh) and corners rounded by radius.
    static double roundedRect(double x, double y, double cx, double cy, double hw, double hh, double radius) {
        const double qx = std::abs(x - cx) - (hw - radius);
        const double qy = std::abs(y - cy) - (hh - radius);
        const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - radius;
    }

    static double circle(double x, double y, double cx, double cy, double radius) {
        return std::hypot(x - cx, y - cy) - radius;
    }

    // Distance from the segment (ax, ay)-(bx, by): a stroke with round caps is distance < half width.
    static double segment(double x, double y, double ax, double ay, double bx, double by) {
        const double dx = bx - ax;
        const double dy = by - ay;
        const double lengthSquared = dx * dx + dy * dy;
        const double t = lengthSquared > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / lengthSquared, 0.0, 1.0) : 0;
        return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
    }

    // Distance from a circular arc about (cx, cy) running counter-clockwise on the screen
    // (y down) from angle `from` through `sweep` radians; 0 points right, pi/2 points up.
    static double arc(double x, double y, double cx, double cy, double radius, double from, double sweep) {
        const double angle = std::atan2(cy - y, x - cx);
        double offset = std::remainder(angle - from, 2 * kPi);
        if (offset < 0) {
            offset += 2 * kPi;
        }
        if (offset <= sweep) {
            return std::abs(std::hypot(x - cx, y - cy) - radius);
        }
        const double endAngle = from + sweep;
        return std::min(std::hypot(x - (cx + radius * std::cos(from)), y - (cy - radius * std::sin(from))),
                        std::hypot(x - (cx + radius * std::cos(endAngle)), y - (cy - radius * std::sin(endAngle))));
    }

    // Coverage of an edge at signed distance d for a pixel: 1 well inside, 0 well outside.
    static float coverage(double d) { return static_cast<float>(std::clamp(0.5 - d, 0.0, 1.0)); }

    static constexpr double kPi = 3.14159265358979323846;
};

}  // namespace vornel
