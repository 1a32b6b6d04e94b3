// JPEG compression of bank pictures with libjpeg, set up so that every picture's first 623
// bytes are the same apart from its size, which lets the bank store that header once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bank/RgbaImage.h"

namespace vornel {

// One fixed quality, the library's default tables, 4:2:0 chroma, a JFIF header, no
// optimised Huffman tables, no restart markers and no comments: the markers before the
// compressed data then always take 623 bytes (SOI, JFIF, two quantisation tables, the frame
// header, four Huffman tables, the scan header), and only the frame header's height and width
// at bytes 163-166 differ from one picture to the next.
class JpegEncoder {
public:
    static constexpr int kQuality = 90;
    static constexpr int32_t kSharedHeaderSize = 623;
    static constexpr int32_t kSizeOffset = 163;  // height then width, big-endian 16-bit
    static constexpr int32_t kSizeBytes = 4;

    // Compresses the picture's colours (alpha plays no part, but the colour under
    // transparent pixels is first bled from their neighbours, see ColourBleed). Answers false
    // with the library's message in error when compression fails or the header does not
    // come out in the shared layout.
    static bool encode(const RgbaImage& image, std::vector<uint8_t>& jpeg, std::string& error);

    // Whether the markers before the compressed data end at kSharedHeaderSize and the frame
    // header's size fields sit at kSizeOffset.
    static bool hasSharedHeaderLayout(const std::vector<uint8_t>& jpeg);
};

}  // namespace vornel
