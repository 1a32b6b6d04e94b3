// Run-length coding of glyph coverage into 4-bit levels.
#include "font/GlyphRunEncoder.h"

namespace vornel {

std::vector<uint8_t> GlyphRunEncoder::encode(const GlyphBox& box) {
    std::vector<uint8_t> bytes;
    const int32_t rows = inkedRows(box);
    const std::vector<uint8_t>& pixels = box.coverage();
    const std::size_t end = static_cast<std::size_t>(rows) * static_cast<std::size_t>(box.width());
    std::size_t i = 0;
    while (i < end) {
        const int32_t runLevel = level(pixels[i]);
        int32_t length = 1;
        while (length < kLongestRun && i + static_cast<std::size_t>(length) < end &&
               level(pixels[i + static_cast<std::size_t>(length)]) == runLevel) {
            ++length;
        }
        bytes.push_back(runByte(length, runLevel));
        i += static_cast<std::size_t>(length);
    }
    return bytes;
}

int32_t GlyphRunEncoder::level(uint8_t coverage) {
    // 16ths of 255, rounded to nearest; the full level starts halfway between 14/16 and 16/16.
    const int32_t sixteenths = (coverage * 16 + 127) / 255;
    if (coverage * 16 >= 15 * 255) {
        return kFullLevel;
    }
    return sixteenths < kFullLevel ? sixteenths : kFullLevel - 1;
}

int32_t GlyphRunEncoder::inkedRows(const GlyphBox& box) {
    if (box.pixelCount() == 0) {
        return 0;
    }
    for (int32_t y = box.rows() - 1; y >= 0; --y) {
        for (int32_t x = 0; x < box.width(); ++x) {
            if (level(box.coverage(x, y)) != 0) {
                return y + 1;
            }
        }
    }
    return 1;
}

uint8_t GlyphRunEncoder::runByte(int32_t length, int32_t runLevel) {
    return static_cast<uint8_t>(((length % kLongestRun) << 4) | runLevel);
}

}  // namespace vornel
