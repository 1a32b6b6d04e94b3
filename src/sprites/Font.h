// A bitmap font: anti-aliased glyphs stored as runs of 4-bit coverage, drawn with a one-pixel
// drop shadow straight into a 32-bit surface.
#pragma once

#include <cstdint>

#include "core/Array.h"
#include "core/Base.h"
#include "core/FileStream.h"
#include "core/Fixed.h"
#include "core/Rect.h"
#include "core/Ref.h"
#include "core/String.h"
#include "core/SurfaceView.h"

namespace vornel {

class Font : public Base {
public:
    // Limits a font file must keep to; anything beyond them is taken as damage, not as a font.
    static constexpr int32_t kMaxCharCode = 255;
    static constexpr int32_t kMaxMetric = 255;  // pixels: space width, line height, glyph width
    static constexpr int32_t kMaxGlyphData = 1 << 20;  // bytes of run data for all glyphs
    static constexpr int32_t kFullCoverage = 15;

    Font() = default;

    // Advance in pixels: the space width for 32, the glyph's width inside the font's range,
    // 0 for any other code (codes are 0..255).
    virtual int32_t charWidth(int32_t character);
    // drawGlyph into a surface handed as an array, stride pixels a row and rows rows.
    virtual void drawChar(int32_t character, const Array<uint32_t>& surface, int32_t stride, int32_t rows,
                          int32_t clipLeft, int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed x, Fixed y,
                          uint32_t color, Fixed opacity);
    // Paints one glyph with its top-left corner at the pen (Fixed surface coordinates, the
    // fractions dropped), only inside the clip (surface pixels, cut to the surface first), in
    // colour 0xAARRGGBB at opacity (Fixed). Opaque text gets a darker pixel one to the right
    // and one below each painted pixel.
    void drawGlyph(int32_t character, const Surface32& surface, const Rect& clip, FixedPoint pen, uint32_t color,
                   Fixed opacity);
    virtual int32_t lineHeight();
    // Reads the font file "/" + name of the program folder. A missing file answers false; a
    // damaged one is reported on stderr and answers false too. Either way a failed load
    // leaves the font empty: no glyphs, every width 0.
    virtual bool load(const String& name);
    // The next byte of the file being loaded, 0..255, or -1 at its end or without a file.
    virtual int32_t readByte();
    // The next variable-length integer (seven bits a byte, most significant first, top bit
    // set while more follow); -1 at the end of the file.
    virtual int32_t readVarInt();
    // Pixels the text advances, tabs expanded from column 0.
    virtual int32_t textWidth(const String& text);
    // Pixels from column x to the next tab stop (0 for a font without a space width).
    virtual int32_t tabAdvance(int32_t x);

    int32_t firstChar() const { return m_firstChar; }
    int32_t lastChar() const { return m_lastChar; }
    // Offset of glyph index's run data (index glyphCount is the end of the last glyph); -1
    // outside the table.
    int32_t glyphStart(int32_t index) const;

protected:
    ~Font() override = default;

private:
    const char* readFontFile();
    const char* readGlyphTable(int32_t glyphCount);
    void forget();
    // Index of the character's glyph, or -1 when the font has none for it.
    int32_t glyphIndex(int32_t character) const;

    Array<uint8_t> m_glyphData;  // run bytes of all glyphs, one after the other
    int32_t m_lineHeight = 0;    // pixels between lines
    int32_t m_lastChar = -1;     // no glyphs until a font is loaded
    Ref<FileStream> m_file;      // open only while loading
    int32_t m_firstChar = 0;
    Array<int32_t> m_glyphStart;  // offsets into m_glyphData, one more than the glyphs
    int32_t m_spaceWidth = 0;     // pixels
    int32_t m_tabWidth = 0;       // pixels: tab stops lie at multiples of it
    Array<int16_t> m_glyphWidth;  // advance and row width of each glyph, pixels
};

}  // namespace vornel
