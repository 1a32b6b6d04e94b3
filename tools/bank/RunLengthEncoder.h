// Encodes an RGBA picture as the run-length data of an "r" or "o" bank record: the exact
// inverse of the game's run-length decoder, with its 106-entry colour cache.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "bank/RgbaImage.h"

namespace vornel {

// The data is a sequence of byte codes:
//   0..127 then one more byte   a literal RGB555 colour (stored in the cache)
//   128..133                    the next pixel has alpha code 1..6
//   134 e                       16..47 transparent pixels, (e >> 3) + 16, and alpha code e & 7
//   135..149                    1..15 transparent pixels
//   150..255                    the colour in cache entry 0..105
//   134 as the last byte        end of the picture
// Opaque pixels are literals and cache references; every control byte is followed, once its
// transparent runs are done, by exactly one pixel drawn with the current alpha code. The
// encoder plans every control sequence so that this pixel is either a translucent pixel of
// the picture or, when the runs end next to an opaque pixel, the gap's last transparent
// pixel as black with alpha code 0 (an extended run resets the code to 0 on the way when
// the gap is long enough).
//
// What the format cannot say exactly, and what the encoder does instead: a transparent gap
// of one pixel right before an opaque pixel, and a gap of 2..16 pixels right before an
// opaque pixel once a translucent pixel has set the alpha code (nothing but
// a run of 16 or more can reset it to 0): the gap's last pixel is drawn with alpha code 1
// (1/8 opacity) in the colour of the opaque pixel after it, the smallest visible change.
// Anti-aliased edges, where a translucent pixel sits between gap and opaque pixel, never
// need this.
// Translucent colours are stored so that they decode to code/8 of the colour (see
// ColourLevels::runLengthStoredColour).
class RunLengthEncoder {
public:
    static constexpr int32_t kCacheSize = 106;
    static constexpr uint8_t kFirstLiteralLimit = 128;  // literal high bytes are below this
    static constexpr uint8_t kFirstAlphaPrefix = 128;   // alpha code 1; 133 is code 6
    static constexpr uint8_t kLongRunOrEnd = 134;
    static constexpr uint8_t kShortRunBase = 134;       // 134 + length, 1..15
    static constexpr uint8_t kFirstCacheByte = 150;
    static constexpr int32_t kMaxShortRun = 15;
    static constexpr int32_t kMinLongRun = 16;
    static constexpr int32_t kMaxLongRun = 47;
    // The alpha code given to the last pixel of a gap the format cannot leave transparent.
    static constexpr int32_t kFaintestCode = 1;

    // The run-length data of the picture, ending with the byte 134. Alpha codes come from
    // ColourLevels::alphaCode, colours from ColourLevels::toRgb555.
    static std::vector<uint8_t> encode(const RgbaImage& image);
    // Whether every pixel has alpha code 7, as the pictures of "o" records must.
    static bool isOpaque(const RgbaImage& image);

private:
    explicit RunLengthEncoder(const RgbaImage& image);

    void encodePicture();
    int32_t encodeOpaqueRun(int32_t first);
    int32_t endOfTransparentGap(int32_t first) const;
    void encodeGapThenTranslucent(int32_t gap, int32_t translucent);
    void encodeGapThenOpaque(int32_t gap, int32_t opaque);
    void emitTransparentRuns(int32_t count, int32_t alphaCodeAfter);
    void emitAlphaPrefix(int32_t code);
    void emitColour(uint32_t rgb555);

    int32_t codeAt(int32_t i) const { return m_codes[static_cast<std::size_t>(i)]; }
    uint32_t colourAt(int32_t i) const { return m_colours[static_cast<std::size_t>(i)]; }
    int32_t pixelCount() const { return static_cast<int32_t>(m_codes.size()); }

    std::vector<int8_t> m_codes;       // alpha code 0..7 of every pixel
    std::vector<uint32_t> m_colours;   // RGB555 of every pixel
    // Mirrors of the decoder's state while it reads what has been written so far.
    std::array<uint32_t, kCacheSize> m_cache{};  // expanded colours, all black at the start
    int32_t m_cacheWriteIndex = 0;
    int32_t m_alphaCode = 0;
    std::vector<uint8_t> m_bytes;
};

}  // namespace vornel
