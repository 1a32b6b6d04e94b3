// The two ways picture pixels are filled from bank data: the run-length decoder of "r"
// pictures, with its colour cache, and the alpha runs that give JPEG pictures transparency.
#pragma once

#include <cstdint>

#include "core/Array.h"
#include "media/Picture.h"

namespace vornel {

class PictureDecoder final {
public:
    // Colours remembered by the run-length decoder; a repeated colour costs one byte.
    static constexpr int32_t kCacheSize = 106;

    // Fills pixels (width × height words of the picture) from data[first, end). Answers false
    // when the data is damaged: it runs out before its final 134, or describes more pixels
    // than the picture has. It never reads or writes outside the two arrays.
    static bool decodeRunLength(Picture& picture, const Array<uint32_t>& pixels, const Array<uint8_t>& data,
                                int32_t first, int32_t end);

    // Applies the alpha runs in data[start, end) to pixelCount JPEG-decoded pixels. Answers
    // false when the runs do not cover exactly pixelCount pixels; it never goes out of bounds.
    static bool applyAlphaRuns(const Array<uint32_t>& pixels, const Array<uint8_t>& data, int32_t start,
                               int32_t end, int32_t pixelCount);
};

}  // namespace vornel
