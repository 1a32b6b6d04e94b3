// JPEG pictures of the picture bank, decoded from memory with libjpeg straight into pixel words.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Array.h"

namespace vornel {

// Decodes the JPEG stream of length bytes at data into width × height words at pixels, each
// 0xFF000000 | RGB (alpha code 7, run count 31). A JPEG whose size differs from the
// expected one prints "jpegDecode width height mismatch" on the console and fills what
// overlaps. Answers false when the library reports an error: the pixels are then all
// transparent (0) and one line goes to stderr. Never writes outside the pixel block.
bool jpegDecode(const uint8_t* data, std::size_t length, int32_t width, int32_t height, uint32_t* pixels);

// jpegDecode on data[offset, offset + length) into pixels from pixelOffset on. Answers 1 on
// success, 0 when decoding failed or the ranges do not lie inside the arrays.
int32_t decodeJpeg(const Array<uint8_t>& data, int32_t offset, int32_t length, int32_t width, int32_t height,
                   const Array<uint32_t>& pixels, int32_t pixelOffset);

}  // namespace vornel
