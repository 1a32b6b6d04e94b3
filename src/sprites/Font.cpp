// Loading font files and painting glyphs from their coverage runs.
#include "sprites/Font.h"

#include <algorithm>
#include <cstdio>

#include "core/StringBuffer.h"

namespace vornel {
namespace {

bool inRange(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

// Coverage level (1..14, in sixteenths) of the colour over the old pixel, per channel, rounded
// down: old + floor((colour - old) * level / 16). The arithmetic shift floors negative steps.
uint32_t blendCoverage(uint32_t old, uint32_t color, int32_t level) {
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto before = static_cast<int32_t>(old >> shift & 0xFF);
        const auto after = static_cast<int32_t>(color >> shift & 0xFF);
        const int32_t channel = before + (((after - before) * level) >> 4);
        mixed |= static_cast<uint32_t>(channel) << shift;
    }
    return mixed;  // TT 0: a blended pixel hides nothing
}

// The drop shadow: faint edges darken by a quarter, solid pixels by half; TT is cleared.
uint32_t shade(uint32_t pixel, int32_t level) {
    if (level < 8) {
        return (pixel & 0xFFFFFF) - ((pixel >> 2) & 0x3F3F3F);
    }
    return (pixel >> 1) & 0x7F7F7F;
}

}  // namespace

// ---- Metrics ----

int32_t Font::glyphIndex(int32_t character) const {
    if (character < m_firstChar || character > m_lastChar) {
        return -1;
    }
    const int32_t index = character - m_firstChar;
    return index < m_glyphWidth.length() ? index : -1;
}

int32_t Font::glyphStart(int32_t index) const {
    return index >= 0 && index < m_glyphStart.length() ? m_glyphStart[index] : -1;
}

int32_t Font::charWidth(int32_t character) {
    if (character == ' ') {
        return m_spaceWidth;
    }
    const int32_t index = glyphIndex(character);
    return index < 0 ? 0 : m_glyphWidth[index];
}

int32_t Font::lineHeight() {
    return m_lineHeight;
}

int32_t Font::tabAdvance(int32_t x) {
    if (m_tabWidth <= 0) {
        return 0;
    }
    return m_tabWidth - x % m_tabWidth;
}

int32_t Font::textWidth(const String& text) {
    int32_t x = 0;
    for (const char* c = text.text(); *c != '\0'; ++c) {
        const auto code = static_cast<uint8_t>(*c);
        x += code == '\t' ? tabAdvance(x) : charWidth(code);
    }
    return x;
}

// ---- Drawing ----

void Font::drawChar(int32_t character, const Array<uint32_t>& surface, int32_t stride, int32_t rows,
                    int32_t clipLeft, int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed x, Fixed y,
                    uint32_t color, Fixed opacity) {
    drawGlyph(character, surfaceOf(surface, stride, rows), {clipLeft, clipTop, clipRight, clipBottom}, {x, y}, color,
              opacity);
}

void Font::drawGlyph(int32_t character, const Surface32& surface, const Rect& clip, FixedPoint pen, uint32_t color,
                     Fixed opacity) {
    const int32_t index = glyphIndex(character);
    if (index < 0 || surface.isEmpty()) {
        return;
    }
    const int32_t end = m_glyphStart[index + 1];
    const int32_t width = m_glyphWidth[index];
    if (width <= 0) {
        return;
    }
    // The one check against the surface; below, each row's piece of a run is cut to the clip.
    const int32_t clipLeft = std::max(clip.left, 0);
    const int32_t clipTop = std::max(clip.top, 0);
    const int32_t clipRight = std::min(clip.right, surface.stride);
    const int32_t clipBottom = std::min(clip.bottom, surface.rows);
    if (clipLeft >= clipRight || clipTop >= clipBottom) {
        return;
    }
    uint32_t* const pixels = surface.pixels;
    const int32_t stride = surface.stride;
    const bool opaque = opacity == kFixedOne;  // only opaque text casts a shadow
    const int32_t left = fromFixed(pen.x);
    int32_t penY = fromFixed(pen.y);
    int32_t column = 0;  // of the pen inside the glyph's row

    // Rows only grow, so the glyph is done once the pen passes the clip's bottom.
    for (int32_t at = m_glyphStart[index]; at < end && penY < clipBottom; ++at) {
        const int32_t run = m_glyphData[at];
        int32_t count = run >> 4;
        if (count == 0) {
            count = 16;
        }
        int32_t level = run & 15;
        if (!opaque) {
            level = std::clamp(static_cast<int32_t>((static_cast<int64_t>(level) * opacity) >> kFixedShift), 0,
                               kFullCoverage);
        }
        if (level == 0) {
            column += count;
            while (column >= width) {
                column -= width;
                ++penY;
            }
            continue;
        }
        // The run a row at a time: the clip cuts each row's piece once, not every pixel.
        while (count > 0) {
            const int32_t piece = std::min(count, width - column);
            if (penY >= clipTop && penY < clipBottom) {
                const int32_t from = std::max(left + column, clipLeft);
                const int32_t to = std::min(left + column + piece, clipRight);
                // Pixels left of clipRight - 1 on a row above clipBottom - 1 cast a shadow.
                const int32_t shadowTo = opaque && penY < clipBottom - 1 ? std::min(to, clipRight - 1) : from;
                uint32_t* const row = pixels + penY * stride;
                for (int32_t penX = from; penX < to; ++penX) {
                    // Full coverage stores the colour as it is, its AA landing in the depth byte.
                    row[penX] = level == kFullCoverage ? color : blendCoverage(row[penX], color, level);
                    if (penX < shadowTo) {
                        uint32_t& below = row[stride + penX + 1];
                        below = shade(below, level);
                    }
                }
            }
            count -= piece;
            column += piece;
            if (column == width) {
                column = 0;
                ++penY;
            }
        }
    }
}

// ---- Loading ----

int32_t Font::readByte() {
    return m_file ? m_file->readByte() : -1;
}

int32_t Font::readVarInt() {
    int32_t b = readByte();
    if (b <= 127) {
        return b;  // also the -1 of the file's end
    }
    auto value = static_cast<uint32_t>(b & 127);
    do {
        b = readByte();
        value = (value << 7) | static_cast<uint32_t>(b & 127);
    } while (b > 127);
    return static_cast<int32_t>(value);
}

bool Font::load(const String& name) {
    forget();
    Ref<StringBuffer> path = new StringBuffer();
    path->append('/');
    path->append(name);
    m_file = openStream(*path->toString());
    if (!m_file) {
        std::fprintf(stderr, "font %s is missing\n", name.text());
        return false;
    }
    const char* damage = readFontFile();
    m_file->close();
    m_file = nullptr;
    if (damage != nullptr) {
        std::fprintf(stderr, "font %s is damaged: %s\n", name.text(), damage);
        forget();
        return false;
    }
    return true;
}

// Reads the whole file; answers what is wrong with it, or null for a good font.
const char* Font::readFontFile() {
    const int32_t spaceWidth = readVarInt();
    const int32_t lineHeight = readVarInt();
    readVarInt();  // a third metric the glyphs do not need
    const int32_t first = readVarInt();
    const int32_t last = readVarInt();
    if (!inRange(spaceWidth, 0, kMaxMetric) || !inRange(lineHeight, 0, kMaxMetric)) {
        return "space width or line height out of range";
    }
    if (!inRange(first, 0, kMaxCharCode) || !inRange(last, first, kMaxCharCode)) {
        return "bad character range";
    }
    m_spaceWidth = spaceWidth;
    m_tabWidth = 4 * spaceWidth;
    m_lineHeight = lineHeight;
    m_firstChar = first;
    m_lastChar = last;
    return readGlyphTable(last - first + 1);
}

// The glyph lengths and widths, the total length and the run data itself.
const char* Font::readGlyphTable(int32_t glyphCount) {
    m_glyphStart = allocInt(glyphCount + 1);
    m_glyphWidth = allocShort(glyphCount);
    if (m_glyphStart.isEmpty() || m_glyphWidth.isEmpty()) {
        return "no memory for the glyph table";
    }
    int32_t total = 0;
    for (int32_t i = 0; i < glyphCount; ++i) {
        m_glyphStart[i] = total;
        const int32_t length = readVarInt();
        if (!inRange(length, 0, kMaxGlyphData - total)) {
            return "bad glyph length";
        }
        total += length;
        if (length != 0) {
            const int32_t width = readVarInt();
            if (!inRange(width, 1, kMaxMetric)) {
                return "bad glyph width";
            }
            m_glyphWidth[i] = static_cast<int16_t>(width);
        }
    }
    m_glyphStart[glyphCount] = total;
    if (readVarInt() != total) {
        return "data length differs from the sum of the glyph lengths";
    }
    if (total == 0) {
        return nullptr;
    }
    m_glyphData = allocByte(total);
    if (m_glyphData.isEmpty()) {
        return "no memory for the glyph data";
    }
    if (readFully(*m_file, m_glyphData, 0, total) != total) {
        return "glyph data cut short";
    }
    return nullptr;
}

// Back to a font without glyphs, whose every width is 0.
void Font::forget() {
    m_glyphData.release();
    m_glyphStart.release();
    m_glyphWidth.release();
    m_lineHeight = 0;
    m_firstChar = 0;
    m_lastChar = -1;
    m_spaceWidth = 0;
    m_tabWidth = 0;
}

}  // namespace vornel
