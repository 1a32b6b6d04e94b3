// The picture size the decoder targets read from the front of their input: two big-endian
// 16-bit sides, refused when the picture would be larger than the target allows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornel::fuzz {

class SizePrefix {
public:
    static constexpr std::size_t kBytes = 4;

    // False when the input is too short or the picture has more than mostPixels pixels.
    static bool read(const uint8_t* data, std::size_t size, int32_t mostPixels, int32_t& width, int32_t& height) {
        if (size < kBytes) {
            return false;
        }
        width = data[0] << 8 | data[1];
        height = data[2] << 8 | data[3];
        return int64_t{width} * height <= mostPixels;
    }
};

}  // namespace vornel::fuzz
