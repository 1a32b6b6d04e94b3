// The title's letterforms: segments and arcs in a letter space whose x-height is 1.
#include "art/TitleLettering.h"

#include <algorithm>
#include <limits>

#include "art/Shapes.h"

namespace vornel {

namespace {

constexpr double kPi = Shapes::kPi;
constexpr double kSlant = 0.2;        // rightward lean per unit of height
constexpr double kHalfWidth = 0.15;   // of a stroke, in x-heights
constexpr double kCapHeight = 1.45;   // the V and the l
constexpr double kGap = 0.36;         // between letters
// Where each letter starts and how wide it is, in x-heights.
constexpr double kV = 0;
constexpr double kVWidth = 1.0;
constexpr double kO = kV + kVWidth + kGap;
constexpr double kOWidth = 0.96;
constexpr double kR = kO + kOWidth + kGap;
constexpr double kRWidth = 0.6;
constexpr double kN = kR + kRWidth + kGap + 0.12;  // clear of the r's shoulder, or "rn" reads as "m"
constexpr double kNWidth = 0.86;
constexpr double kE = kN + kNWidth + kGap;
constexpr double kEWidth = 0.94;
constexpr double kL = kE + kEWidth + kGap;
constexpr double kTotalWidth = kL + kCapHeight * kSlant;

}  // namespace

TitleLettering::TitleLettering(double left, double baselineY, double xHeight)
    : m_left(left), m_baseline(baselineY), m_scale(xHeight), m_strokes(strokes()) {}

std::vector<TitleLettering::Stroke> TitleLettering::strokes() {
    return {
        // V
        {false, kV, -kCapHeight, kV + kVWidth / 2, 0, 0, 0},
        {false, kV + kVWidth / 2, 0, kV + kVWidth, -kCapHeight, 0, 0},
        // r: stem and shoulder
        {false, kR, -1, kR, 0, 0, 0},
        {true, kR + 0.45, -0.55, 0.45, 0, 1.25, kPi - 1.25},
        // n: stem, arch, stem
        {false, kN, -1, kN, 0, 0, 0},
        {true, kN + kNWidth / 2, -0.57, kNWidth / 2, 0, 0, kPi},
        {false, kN + kNWidth, -0.57, kN + kNWidth, 0, 0, 0},
        // e: bar and bowl, open at the lower right
        {false, kE + 0.02, -0.5, kE + kEWidth, -0.5, 0, 0},
        {true, kE + kEWidth / 2, -0.5, kEWidth / 2, 0, 0, 2 * kPi - 0.8},
        // l
        {false, kL, -kCapHeight, kL, 0, 0, 0},
    };
}

double TitleLettering::widthFor(double xHeight) {
    return kTotalWidth * xHeight;
}

double TitleLettering::toLetterY(double y) const {
    return (y - m_baseline) / m_scale;
}

double TitleLettering::toLetterX(double x, double y) const {
    return (x - m_left) / m_scale + toLetterY(y) * kSlant;
}

double TitleLettering::strokeDistance(double x, double y) const {
    const double lx = toLetterX(x, y);
    const double ly = toLetterY(y);
    double nearest = std::numeric_limits<double>::max();
    for (const Stroke& s : m_strokes) {
        const double d = s.isArc ? Shapes::arc(lx, ly, s.ax, s.ay, s.bx, s.from, s.sweep)
                                 : Shapes::segment(lx, ly, s.ax, s.ay, s.bx, s.by);
        nearest = std::min(nearest, d);
    }
    return nearest * m_scale;
}

double TitleLettering::strokeHalfWidth() const {
    return kHalfWidth * m_scale;
}

// The ball sits where the "o" would, as big as its outer edge, upright (not slanted) but
// moved along with the slant of its middle.
double TitleLettering::ballX() const {
    return m_left + (kO + kOWidth / 2 + 0.5 * kSlant) * m_scale;
}

double TitleLettering::ballY() const {
    return m_baseline - 0.5 * m_scale;
}

double TitleLettering::ballRadius() const {
    return (kOWidth / 2 + kHalfWidth) * m_scale;
}

}  // namespace vornel
