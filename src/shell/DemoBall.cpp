// The demonstration ball's disc.
#include "shell/DemoBall.h"

#include <algorithm>

#include "sprites/Drawing.h"

namespace vornel {

DemoBall::DemoBall(int32_t diameter) {
    m_width = diameter;
    m_height = diameter;
}

void DemoBall::draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
                    int32_t clipRight, int32_t clipBottom, Fixed /*opacity*/) {
    fillDisc(surface, stride, rows, clipLeft, clipTop, clipRight, clipBottom, m_left, m_top, m_width, kBodyColor);
    const int32_t shine = m_width / 3;
    fillDisc(surface, stride, rows, clipLeft, clipTop, clipRight, clipBottom, m_left + m_width / 5,
             m_top + m_width / 5, shine, kHighlightColor);
}

// In half pixels from the disc's centre, a pixel (i, j) lies at (2i + 1 - d, 2j + 1 - d) and
// belongs to the disc when that point is within d half pixels.
void DemoBall::discSpan(int32_t diameter, int32_t row, int32_t& first, int32_t& end) {
    first = 0;
    end = 0;
    if (diameter <= 0 || row < 0 || row >= diameter) {
        return;
    }
    const int64_t dy = 2 * row + 1 - diameter;
    const int64_t limit = int64_t{diameter} * diameter - dy * dy;
    int32_t column = 0;
    while (column < diameter / 2) {
        const int64_t dx = 2 * column + 1 - diameter;
        if (dx * dx <= limit) {
            break;
        }
        ++column;
    }
    first = column;
    end = diameter - column;
}

void DemoBall::fillDisc(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft,
                        int32_t clipTop, int32_t clipRight, int32_t clipBottom, int32_t left, int32_t top,
                        int32_t diameter, uint32_t color) {
    const int32_t firstRow = std::max(clipTop, top);
    const int32_t endRow = std::min(clipBottom, top + diameter);
    for (int32_t y = firstRow; y < endRow; ++y) {
        int32_t first = 0;
        int32_t end = 0;
        discSpan(diameter, y - top, first, end);
        const int32_t spanLeft = std::max(clipLeft, left + first);
        const int32_t spanRight = std::min(clipRight, left + end);
        if (spanLeft < spanRight) {
            Drawing::fillRect(surface, stride, rows, spanLeft, y, spanRight, y + 1, color);
        }
    }
}

}  // namespace vornel
