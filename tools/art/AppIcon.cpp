// The application icon, painted from signed distances in pixels of the icon.
#include "art/AppIcon.h"

#include <algorithm>
#include <cmath>

#include "art/Canvas.h"
#include "art/Polygon.h"
#include "art/Shapes.h"
#include "art/SphereShader.h"

namespace vornel {

namespace {

constexpr Colour kTableBlue = Colour::rgb(0x1C4F96);
constexpr Colour kEdgeBlue = Colour::rgb(0x0F2D58);
constexpr Colour kLineWhite = Colour::rgb(0xF4F4F0);
constexpr Colour kNetDark = Colour::rgb(0x0B1424);
constexpr Colour kRedRubber = Colour::rgb(0xD4202A);
constexpr Colour kBladeEdge = Colour::rgb(0x1A1A1E);
constexpr Colour kHandleWood = Colour::rgb(0xC58B4E);
constexpr Colour kBallOrange = Colour::rgb(0xFF8A24);

// Where everything lies, in pixels of the icon. The tile and its lines are kept to whole
// pixels; the bat and the ball are free.
struct Layout {
    double size = 0;
    double margin = 0;      // transparent room around the tile, for its shadow
    double radius = 0;      // the tile's corners
    double lineInset = 0;   // from the tile's edge to the outer edge of the white border
    double lineWidth = 0;   // the border line
    double centreLeft = 0;  // the centre line's left edge
    double centreWidth = 0;
    double netTop = 0;
    double netHeight = 0;
    double tapeHeight = 0;  // the white band along the net's top

    double tileCentre() const { return size / 2; }
    double tileHalf() const { return size / 2 - margin; }
    double unit() const { return size / 256; }  // one pixel of the 256-pixel icon
};

double snapped(double pixels, double smallest) {
    return std::max(std::round(pixels), smallest);
}

Layout layoutFor(int32_t size) {
    Layout layout;
    const double s = size;
    layout.size = s;
    layout.margin = snapped(s / 16, 1);
    layout.radius = s * 0.17;
    layout.lineInset = snapped(s * 0.06, 2);
    layout.lineWidth = snapped(s * 0.034, 2);
    layout.centreWidth = snapped(s * 0.016, 1);
    layout.centreLeft = std::floor((s - layout.centreWidth) / 2);
    layout.netHeight = snapped(s * 0.042, 2);
    layout.netTop = std::floor((s - layout.netHeight) / 2);
    layout.tapeHeight = snapped(s * 0.012, 1);
    return layout;
}

// A shadow of the shape at distance(x, y), blurred over `blur` pixels.
template <typename Distance>
void castShadow(Canvas& canvas, Distance distance, double blur, float darkness) {
    canvas.paintAll([&](double x, double y) {
        const double t = std::clamp(0.5 - distance(x, y) / blur, 0.0, 1.0);
        return Colour::rgb(0x000000, static_cast<float>(darkness * t * t * (3 - 2 * t)));
    });
}

double tile(const Layout& l, double x, double y) {
    return Shapes::roundedRect(x, y, l.tileCentre(), l.tileCentre(), l.tileHalf(), l.tileHalf(), l.radius);
}

// The tile: table-blue, lighter toward the top as under a lamp, with a darker rim and a thin
// light edge along its top.
void drawTile(Canvas& canvas, const Layout& l) {
    castShadow(canvas, [&](double x, double y) { return tile(l, x, y - 2.5 * l.unit()); }, 6 * l.unit() + 1, 0.45f);
    const double top = l.margin;
    const double height = l.size - 2 * l.margin;
    canvas.fill(canvas.bounds(), [&](double x, double y) { return tile(l, x, y) < 0; }, [&](double x, double y) {
        const double down = (y - top) / height;
        const double glow = std::exp(-std::pow((x - l.size * 0.4) / (l.size * 0.45), 2) -
                                     std::pow((y - l.size * 0.3) / (l.size * 0.5), 2));
        return kTableBlue.lit(static_cast<float>(1.08 - 0.28 * down + 0.22 * glow));
    });
    const double rim = std::max(1.0, 3 * l.unit());
    canvas.fill(canvas.bounds(), [&](double x, double y) {
        const double d = tile(l, x, y);
        return d < 0 && d > -rim;
    }, [&](double, double) { return kEdgeBlue.withAlpha(0.85f); });
    if (l.size >= 64) {
        canvas.fill(canvas.bounds(), [&](double x, double y) {
            const double d = tile(l, x, y);
            return d < -rim && d > -rim - 1.2 * l.unit() && y < l.size * 0.35;
        }, [&](double, double y) { return Colour::rgb(0xFFFFFF, static_cast<float>(0.35 * (1 - y / (l.size * 0.35)))); });
    }
}

// The white border and centre line, with the corners following the tile's.
void drawLines(Canvas& canvas, const Layout& l) {
    const double half = l.tileHalf() - l.lineInset;
    const double cornerRadius = std::max(l.radius - l.lineInset, 0.0);
    const double c = l.tileCentre();
    canvas.fillShape([&](double x, double y) {
        const double outer = Shapes::roundedRect(x, y, c, c, half, half, cornerRadius);
        const double inner = -Shapes::roundedRect(x, y, c, c, half - l.lineWidth, half - l.lineWidth,
                                                  std::max(cornerRadius - l.lineWidth, 0.0));
        return std::max(outer, inner);
    }, kLineWhite);
    const double innerHalf = half - l.lineWidth;
    canvas.fillShape([&](double x, double y) {
        const bool across = x >= l.centreLeft && x < l.centreLeft + l.centreWidth;
        return across && std::abs(y - c) < innerHalf ? -1.0 : 1.0;
    }, kLineWhite.withAlpha(0.9f));
}

// The net across the middle: its shadow on the far half, the dark mesh, the white tape on top
// and a post at each end standing just outside the table.
void drawNet(Canvas& canvas, const Layout& l) {
    const double left = l.margin + l.lineInset * 0.5;
    const double right = l.size - left;
    const double shadowDepth = std::max(2.0, 7 * l.unit());
    canvas.fill(canvas.bounds(), [&](double x, double y) {
        return x >= left && x < right && y >= l.netTop + l.netHeight && y < l.netTop + l.netHeight + shadowDepth;
    }, [&](double, double y) {
        const double t = (y - l.netTop - l.netHeight) / shadowDepth;
        return Colour::rgb(0x000000, static_cast<float>(0.35 * (1 - t)));
    });
    canvas.fill(canvas.bounds(), [&](double x, double y) {
        return x >= left && x < right && y >= l.netTop && y < l.netTop + l.netHeight;
    }, [&](double x, double y) {
        // A fine mesh shows on large icons only; small ones get the mesh's average shade.
        if (l.size < 128) {
            return kNetDark.withAlpha(0.85f);
        }
        const double cell = 3 * l.unit();
        const bool thread = std::fmod(x, cell) < l.unit() || std::fmod(y, cell) < l.unit();
        return thread ? Colour::rgb(0x56627C, 0.9f) : kNetDark.withAlpha(0.85f);
    });
    canvas.fillShape([&](double x, double y) {
        return x >= left && x < right && y >= l.netTop && y < l.netTop + l.tapeHeight ? -1.0 : 1.0;
    }, kLineWhite);
    const double postHalf = std::max(1.0, 5 * l.unit());
    for (const double postX : {left, right}) {
        canvas.fillShape([&](double x, double y) {
            return Shapes::roundedRect(x, y, postX, l.netTop + l.netHeight / 2, postHalf, l.netHeight / 2 + postHalf,
                                       postHalf * 0.6);
        }, Colour::rgb(0x23272E));
    }
}

// The bat, in the icon's lower right with its handle toward the corner.
struct Bat {
    double cx, cy, radius;      // the blade
    double dx, dy;              // unit direction from the blade toward the handle's end
    double handleStart, handleEnd, handleHalf;  // along the direction from the centre

    double blade(double x, double y) const { return Shapes::circle(x, y, cx, cy, radius); }
    double handle(double x, double y) const {
        return Shapes::segment(x, y, cx + dx * handleStart, cy + dy * handleStart, cx + dx * handleEnd,
                               cy + dy * handleEnd) - handleHalf;
    }
    // Across the handle, -1 .. 1 from one side to the other.
    double across(double x, double y) const { return ((x - cx) * -dy + (y - cy) * dx) / handleHalf; }
    double along(double x, double y) const { return (x - cx) * dx + (y - cy) * dy; }
};

Bat batFor(const Layout& l) {
    const double s = l.size;
    const double angle = 0.80;  // radians below the horizontal
    return {s * 0.585, s * 0.575, s * 0.215, std::cos(angle), std::sin(angle), s * 0.17, s * 0.385, s * 0.047};
}

// The wooden handle, rounded across like a cylinder, with a flared throat under the blade.
void drawHandle(Canvas& canvas, const Layout& l, const Bat& bat) {
    const auto woodAcross = [&](double x, double y) {
        const double t = std::clamp(bat.across(x, y), -1.0, 1.0);
        const double grain = l.size >= 128 ? 0.05 * std::sin(bat.across(x, y) * 9 + bat.along(x, y) * 0.08) : 0.0;
        return kHandleWood.lit(static_cast<float>(1.05 - 0.35 * t - 0.25 * t * t + grain));
    };
    canvas.fill(canvas.bounds(), [&](double x, double y) { return bat.handle(x, y) < 0; }, woodAcross);
    const double neck = bat.radius * 0.78;
    const double wide = bat.handleHalf * 1.7;
    const Polygon throat({{bat.cx + bat.dx * neck - bat.dy * wide, bat.cy + bat.dy * neck + bat.dx * wide},
                          {bat.cx + bat.dx * neck + bat.dy * wide, bat.cy + bat.dy * neck - bat.dx * wide},
                          {bat.cx + bat.dx * (bat.radius * 1.25) + bat.dy * bat.handleHalf,
                           bat.cy + bat.dy * (bat.radius * 1.25) - bat.dx * bat.handleHalf},
                          {bat.cx + bat.dx * (bat.radius * 1.25) - bat.dy * bat.handleHalf,
                           bat.cy + bat.dy * (bat.radius * 1.25) + bat.dx * bat.handleHalf}});
    canvas.fill(throat.bounds(), [&](double x, double y) { return throat.contains(x, y); }, woodAcross);
    // The handle's end, a darker cap.
    const double capAt = bat.handleEnd - bat.handleHalf * 0.6;
    canvas.fill(canvas.bounds(), [&](double x, double y) {
        return bat.handle(x, y) < 0 && bat.along(x, y) > capAt;
    }, [&](double, double) { return kHandleWood.lit(0.55f).withAlpha(0.8f); });
}

// The red rubber with a dark edge, lit from the upper left with a soft sheen.
void drawBlade(Canvas& canvas, const Layout& l, const Bat& bat) {
    canvas.fillShape([&](double x, double y) { return bat.blade(x, y); }, kBladeEdge);
    const double edge = std::max(1.0, 5 * l.unit());
    canvas.fill(canvas.bounds(), [&](double x, double y) { return bat.blade(x, y) < -edge; }, [&](double x, double y) {
        const double u = (x - bat.cx) / bat.radius;
        const double v = (y - bat.cy) / bat.radius;
        const double light = std::clamp(1.0 - 0.35 * (u + v) / 1.4 - 0.15 * (u * u + v * v), 0.55, 1.3);
        const double sheen = std::exp(-std::pow((u + 0.35) / 0.35, 2) - std::pow((v + 0.4) / 0.25, 2));
        return kRedRubber.lit(static_cast<float>(light)).mixedWith(Colour::rgb(0xFFFFFF), static_cast<float>(0.3 * sheen));
    });
    if (l.size >= 128) {
        // Fine pimples of the rubber, just a hint of texture.
        const double pitch = 9 * l.unit();
        canvas.fill(canvas.bounds(), [&](double x, double y) {
            const double px = std::remainder(x - bat.cx, pitch);
            const double py = std::remainder(y - bat.cy, pitch);
            return bat.blade(x, y) < -edge - l.unit() && px * px + py * py < 2.2 * l.unit() * l.unit();
        }, [&](double, double) { return Colour::rgb(0x000000, 0.12f); });
    }
}

void drawBat(Canvas& canvas, const Layout& l) {
    const Bat bat = batFor(l);
    const double lift = 9 * l.unit();
    castShadow(canvas, [&](double x, double y) {
        return std::min(bat.blade(x - lift, y - lift * 1.2), bat.handle(x - lift, y - lift * 1.2));
    }, 10 * l.unit() + 1, 0.45f);
    drawHandle(canvas, l, bat);
    drawBlade(canvas, l, bat);
}

// The ball in the upper left, above its shadow on the table.
void drawBall(Canvas& canvas, const Layout& l) {
    const double cx = l.size * 0.305;
    const double cy = l.size * 0.3;
    const double radius = l.size * 0.105;
    const double lift = 14 * l.unit();
    castShadow(canvas, [&](double x, double y) {
        return Shapes::circle(x, y, cx + lift * 0.8, cy + lift, radius * 0.9);
    }, 12 * l.unit() + 1, 0.5f);
    const SphereShader ball(kBallOrange);
    canvas.fill(canvas.bounds(), [&](double x, double y) { return Shapes::circle(x, y, cx, cy, radius) < 0; },
                [&](double x, double y) { return ball.at((x - cx) / radius, (y - cy) / radius); });
}

}  // namespace

RgbaImage AppIcon::drawMaskable(int32_t size) {
    const int32_t outer = std::clamp(size, kSmallestSize, kLargestSize);
    // The tile's corners reach 0.7 of the way out from the centre: inside the circle of 0.8.
    const int32_t inner = std::max(kSmallestSize, outer * 56 / 100);
    const RgbaImage tile = draw(inner);
    RgbaImage image(outer, outer, kEdgeBlue.argb());
    const int32_t offset = (outer - inner) / 2;
    for (int32_t y = 0; y < inner; ++y) {
        for (int32_t x = 0; x < inner; ++x) {
            const uint32_t over = tile.pixel(x, y);
            const uint32_t under = image.pixel(x + offset, y + offset);
            const uint32_t a = RgbaImage::alpha(over);
            uint32_t mixed = 0xFF000000u;
            for (const int shift : {0, 8, 16}) {
                const uint32_t top = over >> shift & 0xFF;
                const uint32_t bottom = under >> shift & 0xFF;
                mixed |= ((top * a + bottom * (255 - a) + 127) / 255) << shift;
            }
            image.setPixel(x + offset, y + offset, mixed);
        }
    }
    return image;
}

RgbaImage AppIcon::draw(int32_t size) {
    const Layout layout = layoutFor(std::clamp(size, kSmallestSize, kLargestSize));
    Canvas canvas(static_cast<int32_t>(layout.size), static_cast<int32_t>(layout.size));
    drawTile(canvas, layout);
    drawLines(canvas, layout);
    drawNet(canvas, layout);
    drawBall(canvas, layout);
    drawBat(canvas, layout);
    return canvas.toImage();
}

}  // namespace vornel
