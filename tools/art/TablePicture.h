// Picture 6: the sports hall, the floor and the table as the game's camera sees them, drawn
// through the game's own projection so that the projected ball, bats and net land on it.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "art/ArtPicture.h"
#include "art/Canvas.h"
#include "art/Colour.h"
#include "art/Polygon.h"
#include "art/TableCamera.h"

namespace vornel {

// The picture is the view at scale 1.0 with the camera axis at the anchor. The table view
// shrinks it by two thirds of its width to the screen's width (480 px: 0.75 on a 240-pixel
// Pocket PC, 0.55 on a 176-pixel Smartphone, unscaled on a 320 x 240 landscape screen), and the
// height leaves every screen covered from top to bottom. The rows above the view's top are
// seen only while the intro slides the table up into place.
class TablePicture {
public:
    static constexpr int32_t kWidth = 480;
    static constexpr int32_t kHeight = 512;
    static constexpr int32_t kAnchorX = 240;
    static constexpr int32_t kAnchorY = 320;

    static ArtPicture make();

    // Where a world point (world units) lands in the picture.
    static Point projected(double x, double y, double z);

private:
    explicit TablePicture(Canvas& canvas);

    struct WorldPoint {
        double x, y, z;
    };

    void drawHall();
    void drawBarrier();
    void drawTableShadow();
    void drawLegs();
    void drawLeg(double x, double z);
    void drawTableBody();
    void drawTableTop();
    void drawLines();
    void drawLine(double x0, double z0, double x1, double z1);

    Colour hallColour(double px, double py) const;
    Colour wallColour(double x, double y) const;
    Colour floorColour(double x, double z) const;
    Colour tableTopColour(double x, double z) const;

    Polygon face(std::initializer_list<WorldPoint> corners) const;
    // Fills a face in one colour, shaded by the given factor.
    void fillFace(const Polygon& polygon, const Colour& colour);

    Canvas& m_canvas;
    TableCamera m_camera;
};

}  // namespace vornel
