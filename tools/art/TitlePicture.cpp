// The loading picture: backdrop, table and net in perspective, and the lettering.
#include "art/TitlePicture.h"

#include <cmath>

#include "art/ArtNoise.h"
#include "art/Polygon.h"
#include "art/Shapes.h"
#include "art/SphereShader.h"
#include "art/TitleLettering.h"

namespace vornel {

namespace {

constexpr Colour kSkyTop = Colour::rgb(0x070C1E);
constexpr Colour kSkyLow = Colour::rgb(0x17306A);
constexpr Colour kGlow = Colour::rgb(0x3A6CD0);
constexpr Colour kTableBlue = Colour::rgb(0x1C4F96);
constexpr Colour kLine = Colour::rgb(0xF2F2EE);
constexpr Colour kInkTop = Colour::rgb(0xFFFFFF);
constexpr Colour kInkBottom = Colour::rgb(0xB8CCF8);
constexpr Colour kOutline = Colour::rgb(0x08102C);
constexpr Colour kBallOrange = Colour::rgb(0xFF8A24);

// The table seen from behind its end: far edge and near edge (below the picture) in pixels.
constexpr double kFarY = 82;
constexpr double kFarHalf = 56;
constexpr double kNearY = 150;
constexpr double kNearHalf = 150;
constexpr double kCentreX = TitlePicture::kWidth / 2.0;
constexpr double kNetY = 101;

constexpr double kXHeight = 25;
constexpr double kBaseline = 62;

// The table's half-width at picture row y, a straight edge from the far to the near end.
double tableHalfWidth(double y) {
    return kFarHalf + (kNearHalf - kFarHalf) * (y - kFarY) / (kNearY - kFarY);
}

PixelBox whole() {
    return {0, 0, TitlePicture::kWidth, TitlePicture::kHeight};
}

}  // namespace

ArtPicture TitlePicture::make() {
    Canvas canvas(kWidth, kHeight);
    drawBackdrop(canvas);
    drawTable(canvas);
    drawNet(canvas);
    drawTitle(canvas);
    roundCorners(canvas);
    return {'j', canvas.toImage(), 0, 0};
}

// A dark hall lit from above the table, with a glow behind the title.
void TitlePicture::drawBackdrop(Canvas& canvas) {
    canvas.paintAll([](double x, double y) {
        const double t = ArtNoise::smoothstep(0, kFarY, y);
        const double glow = std::exp(-(std::pow((x - kCentreX) / 80, 2) + std::pow((y - 46) / 34, 2)));
        return kSkyTop.mixedWith(kSkyLow, static_cast<float>(t)).mixedWith(kGlow, static_cast<float>(0.45 * glow));
    });
}

void TitlePicture::drawTable(Canvas& canvas) {
    const Polygon top({{kCentreX - kFarHalf, kFarY}, {kCentreX + kFarHalf, kFarY}, {kCentreX + kNearHalf, kNearY},
                       {kCentreX - kNearHalf, kNearY}});
    canvas.fill(top.bounds(), [&](double x, double y) { return top.contains(x, y); }, [](double x, double y) {
        const double light = 0.85 + 0.3 * std::exp(-(std::pow((x - kCentreX) / 70, 2) + std::pow((y - 92) / 22, 2)));
        return kTableBlue.lit(static_cast<float>(light));
    });
    // Side lines and the centre line widen toward the viewer, as the real ones would.
    canvas.fill(top.bounds(), [&](double x, double y) {
        if (!top.contains(x, y)) {
            return false;
        }
        const double half = tableHalfWidth(y);
        const double line = 1.4 + 2.2 * (y - kFarY) / (kNearY - kFarY);
        const double fromSide = half - std::abs(x - kCentreX);
        return (fromSide >= 0 && fromSide < line) || std::abs(x - kCentreX) < line * 0.35 || y < kFarY + 1.3;
    }, [](double, double) { return kLine; });
}

// The net across the table: a dark translucent mesh under a white band, with posts.
void TitlePicture::drawNet(Canvas& canvas) {
    const double half = tableHalfWidth(kNetY) + 2;
    const double height = 9;
    canvas.fill(PixelBox::around(kCentreX - half, kNetY - height, kCentreX + half, kNetY),
                [&](double x, double y) { return std::abs(x - kCentreX) < half && y > kNetY - height && y < kNetY; },
                [&](double x, double y) {
                    if (y < kNetY - height + 2) {
                        return kLine;
                    }
                    const bool strand = static_cast<int32_t>(std::floor(x)) % 3 == 0 ||
                                        static_cast<int32_t>(std::floor(y)) % 3 == 0;
                    return Colour::rgb(0x05070C, strand ? 0.6f : 0.25f);
                });
    for (double side : {-1.0, 1.0}) {
        const double x = kCentreX + side * (half + 1);
        canvas.fill(PixelBox::around(x - 2, kNetY - height - 1, x + 2, kNetY + 3),
                    [&](double px, double py) { return std::abs(px - x) < 1.6 && py > kNetY - height - 1 && py < kNetY + 3; },
                    [](double, double) { return Colour::rgb(0x24272E); });
    }
}

// Shadow, outline and ink of the strokes, then the ball in place of the "o".
void TitlePicture::drawTitle(Canvas& canvas) {
    const TitleLettering title((kWidth - TitleLettering::widthFor(kXHeight)) / 2, kBaseline, kXHeight);
    const double ink = title.strokeHalfWidth();
    const double outline = ink + 1.7;
    const auto ballDistance = [&](double x, double y) {
        return Shapes::circle(x, y, title.ballX(), title.ballY(), title.ballRadius());
    };
    const auto letters = [&](double x, double y) { return std::min(title.strokeDistance(x, y) - ink, ballDistance(x, y)); };
    canvas.paintAll([&](double x, double y) {
        const double d = letters(x - 2.2, y - 2.8);
        return Colour::rgb(0x000000, static_cast<float>(0.55 * ArtNoise::smoothstep(2.5, -1.5, d)));
    });
    canvas.fill(whole(), [&](double x, double y) { return letters(x, y) < outline - ink; },
                [](double, double) { return kOutline; });
    canvas.fill(whole(), [&](double x, double y) { return title.strokeDistance(x, y) < ink; },
                [&](double, double y) {
                    const double t = (y - (kBaseline - 1.45 * kXHeight)) / (1.45 * kXHeight);
                    return kInkTop.mixedWith(kInkBottom, static_cast<float>(std::clamp(t, 0.0, 1.0)));
                });
    const SphereShader ball(kBallOrange);
    canvas.fill(whole(), [&](double x, double y) { return ballDistance(x, y) < 0; }, [&](double x, double y) {
        return ball.at((x - title.ballX()) / title.ballRadius(), (y - title.ballY()) / title.ballRadius());
    });
}

// Rounded corners: outside a radius of 9 pixels the picture fades to transparent.
void TitlePicture::roundCorners(Canvas& canvas) {
    const double radius = 9;
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            const double d = Shapes::roundedRect(x + 0.5, y + 0.5, kWidth / 2.0, kHeight / 2.0, kWidth / 2.0,
                                                 kHeight / 2.0, radius);
            const float keep = Shapes::coverage(d);
            if (keep < 1) {
                const Colour c = canvas.pixel(x, y);
                canvas.setPixel(x, y, c.withAlpha(c.a * keep));
            }
        }
    }
}

}  // namespace vornel
