// Baseline choice, glyph placement and the filling of the font file.
#include "font/FontBuilder.h"

#include <algorithm>
#include <cmath>

#include "font/GlyphRunEncoder.h"

namespace vornel {

namespace {

constexpr int32_t kSpace = 32;
constexpr int32_t kFirstPrintable = 33;
constexpr int32_t kLastAscii = 126;
constexpr int32_t kFirstLatin1 = 160;
constexpr int32_t kLastCode = 255;

uint8_t corrected(uint8_t coverage, double gamma) {
    if (gamma == 1.0 || coverage == 0 || coverage == 255) {
        return coverage;
    }
    return static_cast<uint8_t>(std::lround(255.0 * std::pow(coverage / 255.0, 1.0 / gamma)));
}

}  // namespace

FontBuilder::FontBuilder(const GlyphRasteriser& rasteriser, const Settings& settings)
    : m_rasteriser(rasteriser), m_settings(settings) {}

std::optional<FontFileWriter> FontBuilder::build(std::string& error) {
    GlyphRasteriser::Glyph space;
    if (!checkSettings(error) || !chooseBaseline(error)) {
        return std::nullopt;
    }
    if (!m_rasteriser.render(kSpace, space) || space.advance < 1) {
        error = "the typeface has no space";
        return std::nullopt;
    }
    m_tally = Tally();
    FontFileWriter file(space.advance, m_settings.lineHeight, m_baseline, m_settings.firstChar, m_settings.lastChar);
    for (int32_t code = m_settings.firstChar; code <= m_settings.lastChar; ++code) {
        addGlyph(file, code);
    }
    return file;
}

GlyphBox FontBuilder::place(const GlyphRasteriser::Glyph& glyph, const Settings& settings, Tally& tally) {
    const GlyphBox& ink = glyph.bitmap;
    const bool widen = settings.overhang == Overhang::Widen && ink.hasInk();
    const int32_t left = widen ? std::max(glyph.left, 0) : glyph.left;
    const int32_t width = widen ? std::max(glyph.advance, left + ink.width()) : glyph.advance;
    tally.shifted += left > glyph.left ? 1 : 0;
    tally.widened += width > glyph.advance ? 1 : 0;
    GlyphBox box(width, settings.lineHeight);
    const int32_t top = settings.baseline - glyph.top;
    int32_t clipped = 0;
    for (int32_t y = 0; y < ink.rows(); ++y) {
        for (int32_t x = 0; x < ink.width(); ++x) {
            const uint8_t coverage = corrected(ink.coverage(x, y), settings.gamma);
            const int32_t column = left + x;
            const int32_t row = top + y;
            if (column >= 0 && column < box.width() && row >= 0 && row < box.rows()) {
                box.setCoverage(column, row, coverage);
            } else if (coverage >= GlyphRunEncoder::kFaintestVisible) {
                ++clipped;
            }
        }
    }
    tally.clippedPixels += clipped;
    tally.clippedGlyphs += clipped > 0 ? 1 : 0;
    return box;
}

uint32_t FontBuilder::codePoint(int32_t code) {
    const bool printable = (code >= kSpace && code <= kLastAscii) || (code >= kFirstLatin1 && code <= kLastCode);
    return printable ? static_cast<uint32_t>(code) : 0;
}

bool FontBuilder::checkSettings(std::string& error) const {
    const Settings& s = m_settings;
    if (s.lineHeight < 1 || s.lineHeight > 255) {
        error = "line height " + std::to_string(s.lineHeight) + " is outside 1..255";
    } else if (s.firstChar < kSpace || s.lastChar > kLastCode || s.firstChar > s.lastChar) {
        error = "characters " + std::to_string(s.firstChar) + ".." + std::to_string(s.lastChar) +
                " are not a range inside 32..255";
    } else if (s.baseline != kAutomaticBaseline && (s.baseline < 1 || s.baseline > s.lineHeight)) {
        error = "baseline " + std::to_string(s.baseline) + " is outside 1.." + std::to_string(s.lineHeight);
    } else if (!(s.gamma >= 0.25 && s.gamma <= 4.0)) {
        error = "gamma is outside 0.25..4";
    } else {
        return true;
    }
    return false;
}

// The baseline sits as low as the deepest printable ASCII descender allows, so descenders
// reach the line's last row and the most room is left above for accents on capitals; with
// a 15-row line and 12-pixel type the capitals then sit in the middle of the line.
bool FontBuilder::chooseBaseline(std::string& error) {
    int32_t ascent = 0;
    int32_t descent = 0;
    for (int32_t code = kFirstPrintable; code <= kLastAscii; ++code) {
        GlyphRasteriser::Glyph glyph;
        if (m_rasteriser.render(static_cast<uint32_t>(code), glyph)) {
            measureInk(glyph, ascent, descent);
        }
    }
    if (ascent == 0) {
        error = "the typeface has no printable ASCII glyphs";
        return false;
    }
    m_ascent = ascent;
    m_descent = descent;
    const bool automatic = m_settings.baseline == kAutomaticBaseline;
    m_baseline = automatic ? std::max(1, m_settings.lineHeight - descent) : m_settings.baseline;
    return true;
}

// Widens ascent and descent (rows above and below the baseline) to the glyph's visible ink:
// rows whose coverage all quantises to 0 do not count.
void FontBuilder::measureInk(const GlyphRasteriser::Glyph& glyph, int32_t& ascent, int32_t& descent) const {
    constexpr int32_t kProbeBaseline = 128;  // room for any glyph of a small pixel size
    Settings probe = m_settings;
    probe.baseline = kProbeBaseline;
    probe.lineHeight = 2 * kProbeBaseline;
    Tally unused;
    const GlyphBox box = place(glyph, probe, unused);
    for (int32_t y = 0; y < box.rows(); ++y) {
        if (box.rowHasInk(y, GlyphRunEncoder::kFaintestVisible)) {
            ascent = std::max(ascent, kProbeBaseline - y);
            descent = std::max(descent, y + 1 - kProbeBaseline);
        }
    }
}

void FontBuilder::addGlyph(FontFileWriter& file, int32_t code) {
    GlyphRasteriser::Glyph glyph;
    const uint32_t point = codePoint(code);
    if (point == 0 || !m_rasteriser.render(point, glyph) || glyph.advance < 1) {
        return;
    }
    Settings placement = m_settings;
    placement.baseline = m_baseline;
    const GlyphBox box = place(glyph, placement, m_tally);
    if (file.setGlyph(code, GlyphRunEncoder::encode(box), box.width())) {
        ++m_tally.glyphs;
    }
}

}  // namespace vornel
