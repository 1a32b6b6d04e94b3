// Cutting rectangles to a surface: what drawing relies on before it touches a pixel.
#include "core/SurfaceView.h"

#include <gtest/gtest.h>

#include "core/Array.h"
#include "core/Rect.h"

namespace vornel {
namespace {

TEST(Rect, AClipThatMissesOrOnlyTouchesGivesTheEmptyRectAtTheOrigin) {
    const Rect surface{0, 0, 8, 6};
    EXPECT_EQ(intersect(surface, {8, 0, 12, 6}), Rect{});   // touching on the right edge
    EXPECT_EQ(intersect(surface, {-4, -3, 0, 2}), Rect{});  // touching on the left, above the top
    EXPECT_EQ(intersect(surface, {5, 4, 3, 9}), Rect{});    // right before left: empty already
    EXPECT_TRUE(intersect(surface, {5, 4, 3, 9}).isEmpty());
    // An empty clip adds nothing to a union, wherever it lies.
    EXPECT_EQ(unite({-100, -100, -100, 50}, {1, 2, 3, 4}), (Rect{1, 2, 3, 4}));
}

TEST(Rect, NegativeCornersAreCutAtTheSurfaceAndOffsetsMayGoNegative) {
    const Rect surface{0, 0, 8, 6};
    EXPECT_EQ(intersect({-5, -5, 3, 50}, surface), (Rect{0, 0, 3, 6}));
    const Rect moved = Rect{2, 3, 6, 5}.offset(-4, -3);
    EXPECT_EQ(moved, (Rect{-2, 0, 2, 2}));
    EXPECT_EQ(moved.width(), 4);
    EXPECT_EQ(intersect(moved, surface), (Rect{0, 0, 2, 2}));
}

TEST(SurfaceView, AnArraysViewHoldsOnlyItsWholeRowsAndABadStrideGivesNone) {
    const Array<uint32_t> pixels = Array<uint32_t>::allocate(10);
    const Surface32 view = surfaceOf(pixels, 4, 40);  // the caller claims more rows than there are
    EXPECT_EQ(view.rows, 2);
    EXPECT_EQ(view.bounds(), (Rect{0, 0, 4, 2}));
    view.at(3, 1) = 7;
    EXPECT_EQ(pixels[7], 7u);
    EXPECT_EQ(surfaceOf(pixels, 4, 1).rows, 1);
    EXPECT_TRUE(surfaceOf(pixels, 0, 3).isEmpty());
    EXPECT_TRUE(surfaceOf(pixels, -4, 3).isEmpty());
    EXPECT_TRUE(surfaceOf(Array<uint32_t>(), 4, 3).isEmpty());
}

}  // namespace
}  // namespace vornel
