// The table view: the one-time table image with its depth layer, the copies from it on every
// repaint, and the fitting of the table to the screen's size.
#include "sprites/TableWorld.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace vornel {

namespace {

// Screen-to-picture width ratios within about 10 % of 1 keep the table unscaled.
constexpr Fixed kUnscaledLow = 0x7334;
constexpr Fixed kUnscaledHigh = 0x8CCB;

// Pixels of the table picture, at scale 1.0, that must fit below the camera centre.
constexpr int32_t kTableBelowCentre = 220;

// Where the camera centre sits, in 640ths of the screen height.
constexpr int32_t kCentreLandscape = 280;  // landscape screens up to 320 wide
constexpr int32_t kCentreDefault = 360;
constexpr int32_t kCentrePortrait = 480;   // portrait screens the table fits across
constexpr int32_t kCentreDivisor = 640;

// a / b kept to 32 bits, without the fault of the one quotient that does not fit.
int32_t quotient(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<int64_t>(a) / b);
}

}  // namespace

// ---- Drawing ----

void TableWorld::draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft,
                      int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed opacity) {
    const Surface32 target = surfaceOf(surface, stride, rows);
    const Rect clip{clipLeft, clipTop, clipRight, clipBottom};
    if (m_cache.isEmpty() || m_cache.length() != surface.length()) {
        buildCache(surface, target, clip, opacity);
        // The rows as the caller gave them: a depth row below the surface is skipped by the
        // cache's length, and the walk goes on to the rows that land on it.
        writeDepthLayer(stride, rows);
    } else {
        copyFromCache(target, clip);
    }
    drawChildren(surface, stride, rows, clipLeft, clipTop, clipRight, clipBottom, opacity);
}

// Paints the table once, gives its picture's memory back to the bank, and keeps the whole
// surface with the table top's depth written into it.
void TableWorld::buildCache(const Array<uint32_t>& surface, const Surface32& target, const Rect& clip,
                            Fixed opacity) {
    if (m_picture != -1 && m_bank) {
        m_bank->drawPicture(m_picture, target, clip, {m_fixLeft, m_fixTop}, m_invScale, m_depth >> kFixedShift,
                            opacity);
        m_bank->free(m_picture);
    }
    m_cache = allocInt<uint32_t>(surface.length());
    arrayCopy(surface, 0, m_cache, 0, m_cache.length());
}

// Walks the left edge of the table top from its near end away from the camera; the first
// point that lands on a screen row gives that row its depth, so a ball or bat deeper than
// the table top there is hidden by the table's edge.
void TableWorld::writeDepthLayer(int32_t stride, int32_t rows) {
    if (stride <= 0) {
        return;
    }
    Ref<Psprite> probe = new Psprite();
    int32_t lastRow = INT_MIN;
    for (Fixed z = kTableNearZ; z < kTableFarZ; z += kTableStepZ) {
        probe->setPos(kTableTopLeftX, kTableTopY, z);
        project(*probe);
        const int32_t row = probe->m_top;
        if (row == lastRow) {
            continue;
        }
        lastRow = row;
        if (row >= rows) {
            return;  // the near end is off the bottom of the surface
        }
        if (row >= 0) {
            writeDepthRow(stride, row, probe->m_left, probe->m_depth);
        }
    }
}

// Sets the depth byte of one cache row between the table's left edge and its mirror image
// about the middle of the row; whole units 0..255 of the depth go into bits 24..31.
void TableWorld::writeDepthRow(int32_t stride, int32_t row, int32_t left, Fixed depth) {
    const int64_t rowStart = static_cast<int64_t>(row) * stride;
    const int64_t evenWidth = static_cast<int64_t>(stride / 2) * 2;
    const int64_t first = std::max<int64_t>(left, 0);
    const int64_t end = std::min<int64_t>({evenWidth - left, stride, m_cache.length() - rowStart});
    const uint32_t layer = (static_cast<uint32_t>(depth) & 0xFFFF8000u) << 9;
    for (int64_t x = first; x < end; ++x) {
        uint32_t& pixel = m_cache[static_cast<int32_t>(rowStart + x)];
        pixel = (pixel & 0xFFFFFFu) | layer;
    }
}

void TableWorld::copyFromCache(const Surface32& target, const Rect& clip) {
    const Rect area = intersect(clip, target.bounds());
    const auto rowBytes = static_cast<std::size_t>(area.width()) * sizeof(uint32_t);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const int64_t offset = static_cast<int64_t>(y) * target.stride + area.left;
        if (offset + area.width() > m_cache.length()) {
            return;  // the cache no longer matches the surface
        }
        std::memcpy(target.row(y) + area.left, m_cache.data() + offset, rowBytes);
    }
}

// ---- Fitting to the screen ----

void TableWorld::fitTo(Psprite& screen) {
    const int32_t width = screen.width();
    const int32_t height = screen.height();
    if (width == m_fitWidth && height == m_fitHeight) {
        return;
    }
    m_fitWidth = width;
    m_fitHeight = height;
    m_cache.release();

    const int32_t share = width > height && width <= 320 ? kCentreLandscape : kCentreDefault;
    int32_t centreY = height * share / kCentreDivisor;
    int32_t pictureWidth = m_width;
    if (m_width > width) {
        pictureWidth = m_width * 320 / 480;  // a narrow screen shows the middle two thirds
    } else if (width < height) {
        centreY = height * kCentrePortrait / kCentreDivisor;
    }
    Fixed scale = fittingScale(width, pictureWidth);
    bool heightDecides = false;
    if (m_height != 0) {
        const Fixed heightScale = quotient(toFixed(height), m_height);
        scale = std::max(scale, heightScale);
        heightDecides = scale == heightScale && scale > kFixedOne;
    }
    const int32_t below = (scale * kTableBelowCentre) >> kFixedShift;
    if (centreY + below < height || heightDecides) {
        centreY = height - below;  // the table's near end sits on the bottom edge
    }
    setScale(scale);
    setPosition(width >> 1, centreY);
    setCentre(width >> 1, centreY);
}

// The scale that fits the picture's width to the screen's; a picture without a width stays
// unscaled.
Fixed TableWorld::fittingScale(int32_t screenWidth, int32_t pictureWidth) {
    if (pictureWidth == 0) {
        return kFixedOne;
    }
    const Fixed scale = quotient(toFixed(screenWidth), pictureWidth);
    return scale >= kUnscaledLow && scale <= kUnscaledHigh ? kFixedOne : scale;
}

}  // namespace vornel
