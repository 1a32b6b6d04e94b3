// The art generator's painting: coverage, compositing, polygons, distances, and the camera's
// way back from a picture point to the world.
#include <gtest/gtest.h>

#include <cmath>

#include "art/Canvas.h"
#include "art/Polygon.h"
#include "art/Shapes.h"
#include "art/TableCamera.h"

namespace vornel {
namespace {

constexpr double kPi = Shapes::kPi;

void fillPolygon(Canvas& canvas, const Polygon& polygon, Colour colour) {
    canvas.fill(polygon.bounds(), [&](double x, double y) { return polygon.contains(x, y); },
                [&](double, double) { return colour; });
}

TEST(ArtCanvasTest, AnEdgeThroughAPixelGivesItPartOfTheColoursAlpha) {
    Canvas canvas(3, 1);
    fillPolygon(canvas, Polygon({{0, 0}, {1.5, 0}, {1.5, 1}, {0, 1}}), Colour::rgb(0xFFFFFF));
    EXPECT_FLOAT_EQ(canvas.pixel(0, 0).a, 1.0f);
    EXPECT_FLOAT_EQ(canvas.pixel(1, 0).a, 0.5f);
    EXPECT_FLOAT_EQ(canvas.pixel(2, 0).a, 0.0f);
}

TEST(ArtCanvasTest, TranslucentPaintMixesWithWhatIsUnderIt) {
    Canvas canvas(1, 1, Colour::rgb(0x0000FF));
    canvas.blend(0, 0, Colour::rgb(0xFF0000, 0.5f), 1);
    EXPECT_EQ(canvas.toImage().pixel(0, 0), 0xFF800080u);
}

// The bank wants straight alpha: a faint white edge over nothing stays white, not grey.
TEST(ArtCanvasTest, TheImageKeepsTheColourOfTranslucentPixels) {
    Canvas canvas(1, 1);
    canvas.blend(0, 0, Colour::rgb(0xFFFFFF, 0.25f), 1);
    EXPECT_EQ(canvas.toImage().pixel(0, 0), 0x40FFFFFFu);
}

TEST(ArtCanvasTest, PaintOutsideTheCanvasIsDropped) {
    Canvas canvas(2, 2);
    fillPolygon(canvas, Polygon({{-5, -5}, {1, -5}, {1, 1}, {-5, 1}}), Colour::rgb(0xFF0000));
    EXPECT_FLOAT_EQ(canvas.pixel(0, 0).a, 1.0f);
    EXPECT_FLOAT_EQ(canvas.pixel(1, 1).a, 0.0f);
}

TEST(ArtCanvasTest, APolygonsNotchIsOutsideIt) {
    // A U shape: the notch between its arms does not belong to it.
    const Polygon u({{0, 0}, {1, 0}, {1, 2}, {2, 2}, {2, 0}, {3, 0}, {3, 3}, {0, 3}});
    EXPECT_TRUE(u.contains(0.5, 1));
    EXPECT_FALSE(u.contains(1.5, 1));
    EXPECT_TRUE(u.contains(1.5, 2.5));
    const PixelBox box = u.bounds();
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 4);
}

TEST(ArtCanvasTest, AnArcMeasuresFromItsEndsOutsideItsSweep) {
    // A quarter circle of radius 10 from pointing right to pointing up (y grows downward).
    EXPECT_NEAR(Shapes::arc(10, 0, 0, 0, 10, 0, kPi / 2), 0, 1e-9);
    EXPECT_NEAR(Shapes::arc(0, -10, 0, 0, 10, 0, kPi / 2), 0, 1e-9);
    EXPECT_NEAR(Shapes::arc(7.07, -7.07, 0, 0, 10, 0, kPi / 2), 0, 0.01);
    EXPECT_NEAR(Shapes::arc(-10, 0, 0, 0, 10, 0, kPi / 2), std::hypot(10, 10), 1e-9);
    EXPECT_NEAR(Shapes::arc(0, 10, 0, 0, 10, 0, kPi / 2), std::hypot(10, 10), 1e-9);
}

TEST(ArtCanvasTest, ARoundedRectanglesCornerIsCutByItsRadius) {
    EXPECT_LT(Shapes::roundedRect(5, 5, 5, 5, 5, 5, 2), 0);
    EXPECT_GT(Shapes::roundedRect(0.2, 0.2, 5, 5, 5, 5, 2), 0);
    EXPECT_LT(Shapes::roundedRect(0.2, 5, 5, 5, 5, 5, 2), 0);
}

// The table's shading looks up the world point under each pixel; it must be the point the
// game's projection puts there.
TEST(ArtCanvasTest, TheCameraFindsTheFloorAndWallPointsItProjects) {
    const TableCamera camera(240, 320);
    for (const auto& [px, py] : {std::pair{30.0, 500.0}, {240.0, 260.0}, {400.0, 350.0}}) {
        double x = 0;
        double z = 0;
        ASSERT_TRUE(camera.onPlaneY(px, py, 0, x, z));
        const Point back = camera.project(x, 0, z);
        EXPECT_NEAR(back.x, px, 0.01);
        EXPECT_NEAR(back.y, py, 0.01);
    }
    double x = 0;
    double y = 0;
    ASSERT_TRUE(camera.onPlaneZ(100, 120, 300, x, y));
    const Point back = camera.project(x, y, 300);
    EXPECT_NEAR(back.x, 100, 0.01);
    EXPECT_NEAR(back.y, 120, 0.01);
}

TEST(ArtCanvasTest, TheCameraSeesNoFloorAboveTheHorizon) {
    const TableCamera camera(240, 320);
    double x = 0;
    double z = 0;
    EXPECT_FALSE(camera.onPlaneY(240, 0, 0, x, z));
}

}  // namespace
}  // namespace vornel
