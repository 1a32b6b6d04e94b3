// One glyph as the font file stores it: coverage 0..255 in a box as wide as the glyph's
// advance, row 0 being the top of the text line.
#pragma once

#include <cstdint>
#include <vector>

namespace vornel {

class GlyphBox {
public:
    GlyphBox() = default;
    // width × rows transparent pixels; a size below 1 gives the empty box.
    GlyphBox(int32_t width, int32_t rows);

    int32_t width() const { return m_width; }
    int32_t rows() const { return m_rows; }
    int32_t pixelCount() const { return m_width * m_rows; }

    // Coverage 0 (none) to 255 (full). The caller keeps x and y inside the box.
    uint8_t coverage(int32_t x, int32_t y) const { return m_coverage[index(x, y)]; }
    void setCoverage(int32_t x, int32_t y, uint8_t value) { m_coverage[index(x, y)] = value; }
    // The pixels row by row from the top, pixelCount() of them.
    const std::vector<uint8_t>& coverage() const { return m_coverage; }

    // Whether any pixel has coverage.
    bool hasInk() const;
    // Whether any pixel of row y has at least the given coverage (the caller keeps y inside).
    bool rowHasInk(int32_t y, uint8_t atLeast = 1) const;

private:
    std::size_t index(int32_t x, int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
    }

    int32_t m_width = 0;
    int32_t m_rows = 0;
    std::vector<uint8_t> m_coverage;
};

}  // namespace vornel
