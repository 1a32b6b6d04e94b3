// The demonstration's ball: a shaded disc drawn straight into the surface, no picture needed.
#pragma once

#include <cstdint>

#include "sprites/Psprite.h"

namespace vornel {

class DemoBall : public Psprite {
public:
    static constexpr uint32_t kBodyColor = 0xFFF0A020;       // orange
    static constexpr uint32_t kHighlightColor = 0xFFFFF0C0;  // the shine near its top left

    // A ball of the given diameter, pixels.
    explicit DemoBall(int32_t diameter);

    void draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
              int32_t clipRight, int32_t clipBottom, Fixed opacity) override;

    // Columns [first, end) of row `row` (0 at the top) that a disc of that diameter covers:
    // a pixel belongs to the disc when its centre does.
    static void discSpan(int32_t diameter, int32_t row, int32_t& first, int32_t& end);

protected:
    ~DemoBall() override = default;

private:
    // Fills the disc whose bounding square starts at (left, top), inside the clip.
    void fillDisc(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
                  int32_t clipRight, int32_t clipBottom, int32_t left, int32_t top, int32_t diameter,
                  uint32_t color);
};

}  // namespace vornel
