// The coverage box of one glyph.
#include "font/GlyphBox.h"

#include <algorithm>

namespace vornel {

GlyphBox::GlyphBox(int32_t width, int32_t rows) {
    if (width < 1 || rows < 1) {
        return;
    }
    m_width = width;
    m_rows = rows;
    m_coverage.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), 0);
}

bool GlyphBox::hasInk() const {
    return std::any_of(m_coverage.begin(), m_coverage.end(), [](uint8_t value) { return value != 0; });
}

bool GlyphBox::rowHasInk(int32_t y, uint8_t atLeast) const {
    const auto row = m_coverage.begin() + static_cast<std::ptrdiff_t>(index(0, y));
    return std::any_of(row, row + m_width, [atLeast](uint8_t value) { return value >= atLeast; });
}

}  // namespace vornel
