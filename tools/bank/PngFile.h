// Reading and writing PNG files as RGBA pictures, through libpng's simplified interface.
#pragma once

#include <string>

#include "bank/RgbaImage.h"

namespace vornel {

class PngFile {
public:
    // The largest width or height accepted: a bank stores sizes in 16 signed bits.
    static constexpr int32_t kMaxSide = 32767;
    // The most pixels accepted (64 MB of RGBA), so that a small file claiming a huge picture
    // is refused instead of exhausting memory.
    static constexpr int64_t kMaxPixels = 16 * 1024 * 1024;

    // Reads any PNG (grey, palette, RGB, with or without alpha, 8 or 16 bits) as 8-bit RGBA.
    // Answers false with a one-line reason in error when the file is missing, damaged, larger
    // than kMaxSide on a side or than kMaxPixels in all; image is then left as it was.
    static bool read(const std::string& path, RgbaImage& image, std::string& error);
    // Writes the picture as an 8-bit RGBA PNG; answers false with a reason on failure.
    static bool write(const std::string& path, const RgbaImage& image, std::string& error);
};

}  // namespace vornel
