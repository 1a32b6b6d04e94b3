// Picture 6: hall, floor, barrier and table, painted back to front through the game's camera.
#include "art/TablePicture.h"

#include <cmath>

#include "art/ArtNoise.h"
#include "art/TableGeometry.h"

namespace vornel {

namespace {

using G = TableGeometry;

// The hall behind the court, world units.
constexpr double kBackWallZ = 460;
constexpr double kBarrierHeight = 28;
constexpr double kBarrierPanel = 64;     // width of one barrier panel
constexpr double kBarrierHalfSpan = 700;
constexpr double kWallPanel = 110;
constexpr double kBandLow = 44;          // the padded band along the wall
constexpr double kBandHigh = 58;
constexpr double kLampY = 132;
constexpr double kLampSpacing = 150;

// The table's body under the playing surface, world units.
constexpr double kApronInset = 3;
constexpr double kApronDepth = 2.6;
constexpr double kLegInsetX = 5;
constexpr double kLegInsetZ = 13;
constexpr double kLegSize = 2.2;
constexpr double kLegTopY = G::kTopY - G::kTopThickness - kApronDepth;
constexpr double kBarLow = 4.5;          // the cross bar between a pair of legs
constexpr double kBarHigh = 6.3;
constexpr double kShadowShift = 6;       // how far the table's shadow falls toward the camera

constexpr Colour kTableBlue = Colour::rgb(0x1C4F96);
constexpr Colour kLineWhite = Colour::rgb(0xF4F4F0);
constexpr Colour kEdgeBlue = Colour::rgb(0x123565);
constexpr Colour kApronDark = Colour::rgb(0x0B1424);
constexpr Colour kSteel = Colour::rgb(0x3A3F48);
constexpr Colour kFloorRed = Colour::rgb(0x7A3022);
constexpr Colour kBarrierBlue = Colour::rgb(0x172C63);
constexpr Colour kBarrierRim = Colour::rgb(0x3F63B8);
constexpr Colour kWallLow = Colour::rgb(0x1A1E2A);
constexpr Colour kWallHigh = Colour::rgb(0x06080D);
constexpr Colour kBand = Colour::rgb(0x1A2748);
constexpr Colour kBandRim = Colour::rgb(0x2C3E6E);
constexpr Colour kLamp = Colour::rgb(0xFFF4D8);

// The overhead lights: bright over the table, falling off into the hall.
double hallLight(double x, double z) {
    return 0.32 + 0.78 * std::exp(-(x * x / (95.0 * 95.0) + z * z / (150.0 * 150.0)));
}

}  // namespace

ArtPicture TablePicture::make() {
    Canvas canvas(kWidth, kHeight);
    TablePicture picture(canvas);
    picture.drawHall();
    picture.drawBarrier();
    picture.drawTableShadow();
    picture.drawLegs();
    picture.drawTableBody();
    picture.drawTableTop();
    picture.drawLines();
    return {'j', canvas.toImage(), kAnchorX, kAnchorY};
}

Point TablePicture::projected(double x, double y, double z) const {
    return m_camera.project(x, y, z);
}

TablePicture::TablePicture(Canvas& canvas) : m_canvas(canvas), m_camera(kAnchorX, kAnchorY) {}

Polygon TablePicture::face(std::initializer_list<WorldPoint> corners) const {
    Polygon polygon;
    for (const WorldPoint& corner : corners) {
        polygon.add(projected(corner.x, corner.y, corner.z));
    }
    return polygon;
}

void TablePicture::fillFace(const Polygon& polygon, const Colour& colour) {
    m_canvas.fill(polygon.bounds(), [&](double x, double y) { return polygon.contains(x, y); },
                  [&](double, double) { return colour; });
}

// ---- The hall: floor, back wall ----

void TablePicture::drawHall() {
    m_canvas.paintAll([&](double px, double py) {
        // Four samples a pixel keep the far floor's edge against the wall smooth.
        Colour sum{};
        for (const auto& [dx, dy] : {std::pair{-0.25, -0.25}, {0.25, -0.25}, {-0.25, 0.25}, {0.25, 0.25}}) {
            const Colour c = hallColour(px + dx, py + dy);
            sum = {sum.r + c.r / 4, sum.g + c.g / 4, sum.b + c.b / 4, 1};
        }
        return sum;
    });
}

Colour TablePicture::hallColour(double px, double py) const {
    double x = 0;
    double z = 0;
    if (m_camera.onPlaneY(px, py, G::kFloorY, x, z) && z < kBackWallZ) {
        return floorColour(x, z);
    }
    double y = 0;
    m_camera.onPlaneZ(px, py, kBackWallZ, x, y);
    return wallColour(x, y);
}

// The hall's far wall: dark, with tall panels and a padded band at the height of a
// spectator's eye, caught by the spill of the lights over the court.
Colour TablePicture::wallColour(double x, double y) const {
    const double t = ArtNoise::smoothstep(0, 170, y);
    Colour colour = kWallLow.mixedWith(kWallHigh, static_cast<float>(t));
    const double panel = std::abs(std::remainder(x, kWallPanel));
    colour = colour.lit(static_cast<float>(0.85 + 0.15 * ArtNoise::smoothstep(0, 4, panel)));
    if (y > kBandLow && y < kBandHigh) {
        const bool rim = y < kBandLow + 1.5 || y > kBandHigh - 1.5;
        colour = rim ? kBandRim : kBand;
    }
    const double spill = std::exp(-(x * x / (260.0 * 260.0) + (y - 20) * (y - 20) / (90.0 * 90.0)));
    colour = colour.lit(static_cast<float>(0.7 + 0.6 * spill));
    // A row of lamps high on the wall, each a bright core in a soft halo.
    const double lamp = std::abs(std::remainder(x - kLampSpacing / 2, kLampSpacing));
    const double distance = std::hypot(lamp, (y - kLampY) * 1.6);
    const double glow = 0.95 * std::exp(-distance * distance / 30.0) + 0.25 * std::exp(-distance * distance / 1500.0);
    return colour.mixedWith(kLamp, static_cast<float>(std::min(glow, 1.0)));
}

// A red-brown sports floor laid in strips along the court, lit from above the table.
Colour TablePicture::floorColour(double x, double z) const {
    const double strip = 40;
    const double seam = std::abs(std::remainder(x, strip));
    const double seamShade = 1 - 0.22 * std::exp(-seam * seam / 0.08);
    const double mottle = 1 + 0.05 * ArtNoise::smooth(x / 7, z / 7, 11) + 0.03 * ArtNoise::smooth(x / 2, z / 2, 12);
    const double beyondBarrier = z > G::kBarrierZ ? 0.42 : 1;
    return kFloorRed.lit(static_cast<float>(hallLight(x, z) * seamShade * mottle * beyondBarrier));
}

// The court's back barrier, where the ball is turned back: navy panels with a light rim.
void TablePicture::drawBarrier() {
    const double z = G::kBarrierZ;
    const double bottom = G::kFloorY;
    const double top = bottom + kBarrierHeight;
    const Polygon polygon = face({{-kBarrierHalfSpan, top, z}, {kBarrierHalfSpan, top, z},
                                  {kBarrierHalfSpan, bottom, z}, {-kBarrierHalfSpan, bottom, z}});
    m_canvas.fill(polygon.bounds(), [&](double x, double y) { return polygon.contains(x, y); },
                  [&](double px, double py) {
                      double x = 0;
                      double y = 0;
                      m_camera.onPlaneZ(px, py, z, x, y);
                      const double height = (y - bottom) / kBarrierHeight;
                      const double gap = std::abs(std::remainder(x - kBarrierPanel / 2, kBarrierPanel));
                      const double light = (0.55 + 0.45 * height) * hallLight(x, z * 0.6) * (gap < 0.6 ? 0.45 : 1);
                      const Colour base = height > 0.9 ? kBarrierRim : kBarrierBlue;
                      return base.lit(static_cast<float>(light * 1.25));
                  });
}

// ---- The table's body ----

// A soft shadow on the floor under the table, darkest under its middle.
void TablePicture::drawTableShadow() {
    const double reach = 14;
    const double fx = G::kHalfWidth + reach;
    const double fz = G::kHalfLength + reach;
    const double floor = G::kFloorY;
    const double nearZ = -fz - kShadowShift;
    const Polygon area = face({{-fx, floor, nearZ}, {fx, floor, nearZ}, {fx, floor, fz}, {-fx, floor, fz}});
    m_canvas.fill(area.bounds(), [&](double x, double y) { return area.contains(x, y); },
                  [&](double px, double py) {
                      double x = 0;
                      double z = 0;
                      m_camera.onPlaneY(px, py, floor, x, z);
                      const double across = ArtNoise::smoothstep(G::kHalfWidth + 9, G::kHalfWidth - 6, std::abs(x));
                      // The lights stand a little beyond the net, so the shadow reaches toward the camera.
                      const double along = ArtNoise::smoothstep(G::kHalfLength + 9, G::kHalfLength - 6, std::abs(z + kShadowShift));
                      return Colour::rgb(0x000000, static_cast<float>(0.72 * across * along));
                  });
}

void TablePicture::drawLegs() {
    const double x = G::kHalfWidth - kLegInsetX;
    const double z = G::kHalfLength - kLegInsetZ;
    for (double end : {z, -z}) {
        // The cross bar between the pair of legs at this end, behind the legs themselves.
        const Polygon bar = face({{-x, kBarHigh, end}, {x, kBarHigh, end}, {x, kBarLow, end}, {-x, kBarLow, end}});
        fillFace(bar, kSteel.lit(0.8f));
        drawLeg(-x, end);
        drawLeg(x, end);
    }
}

// One square steel leg: its front face, and the face turned toward the middle of the court,
// which the camera sees because it stands between the legs.
void TablePicture::drawLeg(double x, double z) {
    const double h = kLegSize / 2;
    const double inner = x < 0 ? x + h : x - h;
    const double outer = x < 0 ? x - h : x + h;
    const Polygon side = face({{inner, kLegTopY, z - h}, {inner, kLegTopY, z + h}, {inner, G::kFloorY, z + h},
                               {inner, G::kFloorY, z - h}});
    fillFace(side, kSteel.lit(0.7f));
    const Polygon front = face({{outer, kLegTopY, z - h}, {inner, kLegTopY, z - h}, {inner, G::kFloorY, z - h},
                                {outer, G::kFloorY, z - h}});
    const Point topPoint = projected(x, kLegTopY, z - h);
    const Point footPoint = projected(x, G::kFloorY, z - h);
    m_canvas.fill(front.bounds(), [&](double px, double py) { return front.contains(px, py); },
                  [&](double, double py) {
                      // Lit from above: the leg darkens toward the floor.
                      const double t = (py - topPoint.y) / (footPoint.y - topPoint.y);
                      return kSteel.lit(static_cast<float>(1.25 - 0.45 * t));
                  });
}

// The near end's edge under the white end line, and the dark apron set back beneath it.
void TablePicture::drawTableBody() {
    const double x = G::kHalfWidth;
    const double z = -G::kHalfLength;
    const double top = G::kTopY;
    const double under = top - G::kTopThickness;
    const double ax = x - kApronInset;
    const double az = z + kApronInset;
    fillFace(face({{-ax, under, az}, {ax, under, az}, {ax, under - kApronDepth, az}, {-ax, under - kApronDepth, az}}),
             kApronDark);
    fillFace(face({{-x, top, z}, {x, top, z}, {x, under, z}, {-x, under, z}}), kEdgeBlue);
}

// ---- The playing surface ----

void TablePicture::drawTableTop() {
    const double x = G::kHalfWidth;
    const double z = G::kHalfLength;
    const double y = G::kTopY;
    const Polygon top = face({{-x, y, -z}, {x, y, -z}, {x, y, z}, {-x, y, z}});
    m_canvas.fill(top.bounds(), [&](double px, double py) { return top.contains(px, py); },
                  [&](double px, double py) {
                      double wx = 0;
                      double wz = 0;
                      m_camera.onPlaneY(px, py, y, wx, wz);
                      return tableTopColour(wx, wz);
                  });
}

// Matt blue under the lights: brightest just beyond the net, with a faint sheen toward the
// camera and the slightest grain.
Colour TablePicture::tableTopColour(double x, double z) const {
    const double light = 0.8 + 0.3 * std::exp(-(x * x / (42.0 * 42.0) + (z - 8) * (z - 8) / (80.0 * 80.0)));
    const double sheen = 0.07 * std::exp(-(z + 38) * (z + 38) / (26.0 * 26.0));
    const double grain = 1 + 0.015 * ArtNoise::smooth(x * 1.3, z * 1.3, 21);
    return kTableBlue.lit(static_cast<float>(light * grain)).mixedWith(kLineWhite, static_cast<float>(sheen));
}

void TablePicture::drawLines() {
    const double x = G::kHalfWidth;
    const double z = G::kHalfLength;
    const double w = G::kLineWidth;
    drawLine(-x, -z, -x + w, z);
    drawLine(x - w, -z, x, z);
    drawLine(-x, -z, x, -z + w);
    drawLine(-x, z - w, x, z);
    drawLine(-G::kCentreLineWidth / 2, -z, G::kCentreLineWidth / 2, z);
}

// A white line on the playing surface over the world rectangle x0..x1, z0..z1.
void TablePicture::drawLine(double x0, double z0, double x1, double z1) {
    const double y = G::kTopY;
    const Polygon line = face({{x0, y, z0}, {x1, y, z0}, {x1, y, z1}, {x0, y, z1}});
    m_canvas.fill(line.bounds(), [&](double px, double py) { return line.contains(px, py); },
                  [&](double px, double py) {
                      double wx = 0;
                      double wz = 0;
                      m_camera.onPlaneY(px, py, y, wx, wz);
                      const double light = 0.86 + 0.14 * std::exp(-(wz - 8) * (wz - 8) / (90.0 * 90.0));
                      return kLineWhite.lit(static_cast<float>(light));
                  });
}

}  // namespace vornel
