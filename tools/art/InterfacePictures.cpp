// The menu button, the help markers and the emblem, drawn from signed distances.
#include "art/InterfacePictures.h"

#include <cmath>

#include "art/Canvas.h"
#include "art/Polygon.h"
#include "art/Shapes.h"
#include "art/SphereShader.h"

namespace vornel {

namespace {

constexpr Colour kButtonTop = Colour::rgb(0x6476CC, 0.86f);
constexpr Colour kButtonBottom = Colour::rgb(0x202C70, 0.86f);
constexpr Colour kRimLight = Colour::rgb(0xD6DEFF, 0.95f);
constexpr Colour kRimDark = Colour::rgb(0x0E1534, 0.95f);
constexpr Colour kBadge = Colour::rgb(0x142050, 0.8f);
constexpr Colour kGlyph = Colour::rgb(0xFFFFFF);
constexpr Colour kRed = Colour::rgb(0xD4202A);
constexpr Colour kWood = Colour::rgb(0xC58B4E);
constexpr Colour kOrange = Colour::rgb(0xFF8A24);

// Fills the band of the given width just inside a shape's edge, shaded from light at the top
// to dark at the bottom.
template <typename Distance>
void fillRim(Canvas& canvas, Distance distance, double width) {
    const double height = canvas.height();
    canvas.fill(canvas.bounds(), [&](double x, double y) {
        const double d = distance(x, y);
        return d < 0 && d > -width;
    }, [&](double, double y) { return kRimLight.mixedWith(kRimDark, static_cast<float>(y / height)); });
}

// The round badge every help marker stands on; the glyph is drawn over it.
Canvas badge() {
    const double size = InterfacePictures::kMarkerSize;
    const double c = size / 2;
    Canvas canvas(InterfacePictures::kMarkerSize, InterfacePictures::kMarkerSize);
    const auto disc = [&](double x, double y) { return Shapes::circle(x, y, c, c, c - 0.4); };
    canvas.fillShape(disc, kBadge);
    fillRim(canvas, disc, 1.2);
    return canvas;
}

// An arrow pointing up (or, flipped, down): a triangular head on a short stem.
ArtPicture arrow(bool down) {
    Canvas canvas = badge();
    const double size = InterfacePictures::kMarkerSize;
    const auto flip = [&](double y) { return down ? size - y : y; };
    const Polygon head({{9, flip(3.6)}, {14.4, flip(9.6)}, {3.6, flip(9.6)}});
    canvas.fillShape([&](double x, double y) {
        const double stem = Shapes::roundedRect(x, y, 9, flip(11.6), 1.5, 3.0, 0.4);
        return head.contains(x, y) ? -1.0 : stem;
    }, kGlyph);
    const int32_t anchorY = down ? InterfacePictures::kMarkerSize : 0;
    return {'r', canvas.toImage(), InterfacePictures::kMarkerSize / 2, anchorY};
}

// The emblem's bat: a handle from the blade toward (hx, hy), then the red blade with a
// dark edge.
void emblemBat(Canvas& canvas, double bx, double by, double hx, double hy) {
    canvas.fillShape([&](double x, double y) { return Shapes::segment(x, y, bx, by, hx, hy) - 1.9; }, kWood);
    canvas.fillShape([&](double x, double y) { return Shapes::circle(x, y, bx, by, 8.2); }, Colour::rgb(0x141418));
    canvas.fillShape([&](double x, double y) { return Shapes::circle(x, y, bx - 0.4, by - 0.4, 6.9); }, kRed);
}

}  // namespace

// A rounded, translucent glassy button: blue shading top to bottom, a soft gloss over its
// upper half and a rim lit from above.
ArtPicture InterfacePictures::menuButton() {
    Canvas canvas(kButtonWidth, kButtonHeight);
    const double cx = kButtonWidth / 2.0;
    const double cy = kButtonHeight / 2.0;
    const auto body = [&](double x, double y) { return Shapes::roundedRect(x, y, cx, cy, cx - 0.3, cy - 0.3, 7); };
    canvas.fill(canvas.bounds(), [&](double x, double y) { return body(x, y) < 0; },
                [&](double, double y) { return kButtonTop.mixedWith(kButtonBottom, static_cast<float>(y / kButtonHeight)); });
    const auto gloss = [&](double x, double y) { return Shapes::roundedRect(x, y, cx, 5.6, cx - 2.5, 4.2, 5); };
    canvas.fill(canvas.bounds(), [&](double x, double y) { return gloss(x, y) < 0; },
                [&](double, double y) { return Colour::rgb(0xFFFFFF, static_cast<float>(0.2 - 0.02 * y)); });
    fillRim(canvas, body, 1.1);
    return {'r', canvas.toImage(), 0, 0};
}

ArtPicture InterfacePictures::upMarker() {
    return arrow(false);
}

ArtPicture InterfacePictures::downMarker() {
    return arrow(true);
}

// A white cross on the badge.
ArtPicture InterfacePictures::closeMarker() {
    Canvas canvas = badge();
    canvas.fillShape([&](double x, double y) {
        return std::min(Shapes::segment(x, y, 5.4, 5.4, 12.6, 12.6), Shapes::segment(x, y, 12.6, 5.4, 5.4, 12.6)) - 1.3;
    }, kGlyph);
    return {'r', canvas.toImage(), kMarkerSize / 2, 0};
}

// A bat striking a ball.
ArtPicture InterfacePictures::emblem() {
    Canvas canvas(kEmblemSize, kEmblemSize);
    emblemBat(canvas, 9.5, 10.5, 20.5, 21.5);
    const SphereShader ball(kOrange);
    canvas.fill(canvas.bounds(), [&](double x, double y) { return Shapes::circle(x, y, 19.2, 5.0, 3.4) < 0; },
                [&](double x, double y) { return ball.at((x - 19.2) / 3.4, (y - 5.0) / 3.4); });
    return {'r', canvas.toImage(), kEmblemSize / 2, kEmblemSize / 2};
}

}  // namespace vornel
