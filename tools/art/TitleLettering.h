// The word "Vornel" drawn with strokes of our own design: a slanted, rounded sans whose "o" is
// a ball. Answers distances, so the title picture can paint fill, outline and shadow from them.
#pragma once

#include <vector>

namespace vornel {

class TitleLettering {
public:
    // The lettering with its baseline at baselineY, starting at left, x-height xHeight pixels.
    TitleLettering(double left, double baselineY, double xHeight);

    // Distance in pixels from the nearest stroke's centre line; a point is inside the letters'
    // ink when it is below strokeHalfWidth(). The ball is not a stroke.
    double strokeDistance(double x, double y) const;
    double strokeHalfWidth() const;

    // The ball standing in for the "o": centre and radius in pixels.
    double ballX() const;
    double ballY() const;
    double ballRadius() const;

    // The lettering's width in pixels for a given x-height, to centre it.
    static double widthFor(double xHeight);

private:
    struct Stroke {
        bool isArc;
        double ax, ay, bx, by;  // segment ends; for an arc: centre (ax, ay) and radius bx
        double from, sweep;     // arc angles, radians
    };

    // Letter space: x-height 1, baseline at 0, y down; then slanted.
    double toLetterX(double x, double y) const;
    double toLetterY(double y) const;

    static std::vector<Stroke> strokes();

    double m_left;
    double m_baseline;
    double m_scale;
    std::vector<Stroke> m_strokes;
};

}  // namespace vornel
