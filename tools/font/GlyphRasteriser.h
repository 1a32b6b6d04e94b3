// Renders glyphs of a TrueType font with FreeType at a small pixel size, as 8-bit coverage.
#pragma once

#include <cstdint>
#include <string>

#include "font/GlyphBox.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace vornel {

class GlyphRasteriser {
public:
    // How outlines are fitted to the pixel grid.
    enum class Hinting {
        None,    // outlines as drawn, fractional stems
        Light,   // FreeType's auto-hinter, vertical only: crisp x-height and baseline
        Native,  // the font's own instructions, vertical only (FreeType's default interpreter)
        Full,    // the font's own instructions in both directions (the classic interpreter)
        Auto,    // the auto-hinter in both directions
    };

    // A rendered glyph: its coverage bitmap and where it sits relative to the pen on the baseline.
    struct Glyph {
        GlyphBox bitmap;      // empty for a glyph without ink (the space)
        int32_t left = 0;     // pixels from the pen to the bitmap's left column
        int32_t top = 0;      // pixels from the baseline up to the bitmap's top row
        int32_t advance = 0;  // whole pixels the pen moves on
    };

    GlyphRasteriser();
    ~GlyphRasteriser();
    GlyphRasteriser(const GlyphRasteriser&) = delete;
    GlyphRasteriser& operator=(const GlyphRasteriser&) = delete;

    // Opens the font file at pixelSize pixels per em. Answers false with a one-line reason
    // when FreeType cannot start, the file is missing or not a font, or the size is refused.
    bool open(const std::string& path, int32_t pixelSize, Hinting hinting, std::string& error);

    // Whether the font maps the Unicode code point to a glyph of its own.
    bool hasGlyph(uint32_t codePoint) const;
    // Renders the code point; answers false when it has no glyph or FreeType fails.
    bool render(uint32_t codePoint, Glyph& glyph) const;

    // Parses "none", "light", "native", "full" or "auto"; false for anything else.
    static bool parseHinting(const std::string& name, Hinting& hinting);

private:
    void close();
    int32_t loadFlags() const;

    FT_LibraryRec_* m_library = nullptr;
    FT_FaceRec_* m_face = nullptr;
    Hinting m_hinting = Hinting::Light;
};

}  // namespace vornel
