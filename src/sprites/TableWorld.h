// The table view: a world that shows the table picture, keeps the finished table image with
// the depth of its top surface in the pixels' depth byte, and fits itself to the screen.
#pragma once

#include <cstdint>

#include "core/Array.h"
#include "core/Fixed.h"
#include "core/Rect.h"
#include "core/SurfaceView.h"
#include "sprites/World.h"

namespace vornel {

class TableWorld final : public World {
public:
    TableWorld() = default;

    // The first draw for a screen size paints the table picture, keeps the whole surface and
    // writes the table top's depth into the kept copy; later draws copy from it. The children
    // are then drawn over the table.
    void draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
              int32_t clipRight, int32_t clipBottom, Fixed opacity) override;

    // Scales and places the table for the screen's size; a new size drops the kept image.
    virtual void fitTo(Psprite& screen);

    // The left edge of the table's top surface in world units (Fixed), and the stretch of
    // it along z, nearest end first, whose depth goes into the kept image.
    static constexpr Fixed kTableTopLeftX = -1077411;
    static constexpr Fixed kTableTopY = 822607;
    static constexpr Fixed kTableNearZ = -1762000;
    static constexpr Fixed kTableFarZ = 1762000;
    static constexpr Fixed kTableStepZ = 0x4000;

    Array<uint32_t> m_cache;  // the finished table image with depth layers, the surface's size
    int32_t m_fitWidth = 0;   // the screen size of the last fitTo, pixels
    int32_t m_fitHeight = 0;

protected:
    ~TableWorld() override = default;

private:
    // The surface comes as its array too: the kept image is a copy of the whole array.
    void buildCache(const Array<uint32_t>& surface, const Surface32& target, const Rect& clip, Fixed opacity);
    void writeDepthLayer(int32_t stride, int32_t rows);
    void writeDepthRow(int32_t stride, int32_t row, int32_t left, Fixed depth);
    void copyFromCache(const Surface32& target, const Rect& clip);
    static Fixed fittingScale(int32_t screenWidth, int32_t pictureWidth);
};

}  // namespace vornel
