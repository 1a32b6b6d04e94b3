// The application icon a desktop shows for the game: a rounded tile of table-blue with the
// table's white lines and its net, a red bat and an orange ball, at any square size. Edges of
// the tile's lines fall on whole pixels, so small icons stay crisp.
#pragma once

#include <cstdint>

#include "bank/RgbaImage.h"

namespace vornel {

class AppIcon {
public:
    static constexpr int32_t kSmallestSize = 16;
    static constexpr int32_t kLargestSize = 1024;

    // size x size pixels, transparent around the tile; the caller keeps the size within
    // kSmallestSize..kLargestSize.
    static RgbaImage draw(int32_t size);
    // For a launcher that cuts the icon to its own shape (a web app's "maskable" icon): the
    // tile's deep blue to every edge, the tile inside the central circle of four fifths of
    // the size that every such shape keeps.
    static RgbaImage drawMaskable(int32_t size);
};

}  // namespace vornel
