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

// The picture is the view at scale 1.0 with the camera axis at the anchor, where the table view
// also puts the centre its children are projected around. A table picture wider than the screen
// is fitted by the middle two thirds of its width: 480 pixels give the view scale 0.75 on a
// 240 x 320 Pocket PC (camera axis at row 180), 0.55 on a 176 x 220 Smartphone (row 123) and
// 1.0 on a 320 x 240 landscape screen (row 105), where the table's near corners stay 13 pixels
// inside the edges. 320 rows above the anchor and 192 below cover every screen (the Pocket PC
// needs 240 and 187); the rows above the view's top show while the intro slides the table up
// from where the picture's top meets the screen's: 60 pixels on the Pocket PC, 52 on the
// Smartphone, 215 on the landscape screen.
class TablePicture {
public:
    static constexpr int32_t kWidth = 480;
    static constexpr int32_t kHeight = 512;
    static constexpr int32_t kAnchorX = 240;
    static constexpr int32_t kAnchorY = 320;

    static ArtPicture make();

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

    // Where a world point (world units) lands in the picture.
    Point projected(double x, double y, double z) const;
    Polygon face(std::initializer_list<WorldPoint> corners) const;
    // Fills a face in one colour.
    void fillFace(const Polygon& polygon, const Colour& colour);

    Canvas& m_canvas;
    TableCamera m_camera;
};

}  // namespace vornel
