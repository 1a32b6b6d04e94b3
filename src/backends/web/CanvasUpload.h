// What the page's canvas still lacks of display memory: the part of the logical screen
// painted since the last upload, and that part as the canvas's RGBA, so that the page puts
// only that part, once a displayed frame, however many paints came between.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Rect.h"
#include "device/PhysicalDisplay.h"

namespace vornel {

class CanvasUpload final {
public:
    // The part changed, its RGBA rows one after the other (area.width() pixels each).
    struct Part {
        Rect area;
        const uint8_t* rgba = nullptr;
    };

    // Display memory changed inside the area of the logical screen (the window's pixels).
    void changed(const Rect& area) { m_changed = unite(m_changed, area); }
    bool pending() const { return !m_changed.isEmpty(); }

    // The changed part as the display shows it in that orientation, cut to the screen; nothing
    // is pending afterwards. The pixels stay valid until the next call.
    Part take(const PhysicalDisplay& display, int32_t orientation);

    // 8-bit red, green, blue and an opaque alpha, in that order in memory, of a 5-6-5 pixel.
    static uint32_t rgbaOf(uint16_t pixel);

private:
    // One logical row of the area, starting at index `first` of display memory, `step` apart.
    static void convertRow(const uint16_t* memory, std::ptrdiff_t first, std::ptrdiff_t step, uint32_t* out,
                           int32_t count);

    Rect m_changed;
    std::vector<uint32_t> m_rgba;
};

}  // namespace vornel
