// A box of whole pixels, right and bottom exclusive, that a shape is painted within.
#pragma once

#include <cmath>
#include <cstdint>

namespace vornel {

struct PixelBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    // The box of whole pixels that touch the area from (x0, y0) to (x1, y1).
    static PixelBox around(double x0, double y0, double x1, double y1) {
        return {static_cast<int32_t>(std::floor(x0)), static_cast<int32_t>(std::floor(y0)),
                static_cast<int32_t>(std::floor(x1)) + 1, static_cast<int32_t>(std::floor(y1)) + 1};
    }
};

}  // namespace vornel
