// Turns a rasterised typeface into the game's bitmap font: places each glyph in a box of its
// advance on a shared baseline, encodes its runs and fills a font file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "font/FontFileWriter.h"
#include "font/GlyphBox.h"
#include "font/GlyphRasteriser.h"

namespace vornel {

class FontBuilder {
public:
    static constexpr int32_t kAutomaticBaseline = -1;

    // What happens to ink that lies left of the pen or beyond the advance: the game cannot
    // draw outside a glyph's box.
    enum class Overhang {
        Clip,   // the box stays as wide as the advance; ink outside it is cut off
        Widen,  // ink left of the pen moves right to column 0 and the box grows to hold it all
    };

    struct Settings {
        int32_t lineHeight = 15;  // pixels from one line's top to the next
        int32_t firstChar = 32;
        int32_t lastChar = 126;   // up to 255: 160..255 are Latin-1, 127..159 stay empty
        int32_t baseline = kAutomaticBaseline;  // rows from the line's top, or automatic
        // Coverage c becomes c^(1/gamma): above 1 fattens the grey edges, which the game
        // blends without gamma correction and so shows too dark on light-on-dark text.
        double gamma = 1.0;
        // Clipping keeps the typeface's spacing; what it cuts at 12 pixels is a faint corner
        // pixel or two of v, y, V, K and a few others, where widening would open gaps of
        // up to two pixels after them.
        Overhang overhang = Overhang::Clip;
    };

    // What placing the glyphs cost, for the program's summary line.
    struct Tally {
        int32_t glyphs = 0;         // codes given a glyph
        int32_t shifted = 0;        // glyphs whose ink began left of the pen, moved right
        int32_t widened = 0;        // glyphs whose ink ran past their advance, box widened
        int32_t clippedPixels = 0;  // visible pixels cut off outside the box
        int32_t clippedGlyphs = 0;  // glyphs that lost any
    };

    FontBuilder(const GlyphRasteriser& rasteriser, const Settings& settings);

    // The font file, or nothing with a one-line reason when the typeface has no space or no
    // printable ASCII, or the settings are out of range.
    std::optional<FontFileWriter> build(std::string& error);

    int32_t baseline() const { return m_baseline; }
    // Rows of visible ink above and below the baseline over the printable ASCII glyphs.
    int32_t ascent() const { return m_ascent; }
    int32_t descent() const { return m_descent; }
    const Tally& tally() const { return m_tally; }

    // The glyph in a box as wide as its advance (or wider, see Overhang) and lineHeight rows
    // tall, its baseline at row settings.baseline; ink above row 0 or below the line is cut.
    static GlyphBox place(const GlyphRasteriser::Glyph& glyph, const Settings& settings, Tally& tally);

    // The Unicode code point of an 8-bit character code, Latin-1; 0 for the control codes
    // 127..159 and codes outside 32..255.
    static uint32_t codePoint(int32_t code);

private:
    bool checkSettings(std::string& error) const;
    bool chooseBaseline(std::string& error);
    void measureInk(const GlyphRasteriser::Glyph& glyph, int32_t& ascent, int32_t& descent) const;
    void addGlyph(FontFileWriter& file, int32_t code);

    const GlyphRasteriser& m_rasteriser;
    Settings m_settings;
    int32_t m_baseline = 0;
    int32_t m_ascent = 0;
    int32_t m_descent = 0;
    Tally m_tally;
};

}  // namespace vornel
