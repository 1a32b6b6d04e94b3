// Filling picture pixels from bank data: the run-length decoder with its colour cache, and the
// alpha runs laid over JPEG pictures.
#include "media/PictureDecoder.h"

#include <cstring>

namespace vornel {
namespace {

// Run-length bytes: 0..127 start a two-byte RGB555 literal, 150..255 repeat a cached colour,
// 128..133 give the next pixel alpha code 1..6, 135..149 are transparent runs of 1..15, and
// 134 either ends the picture (as the last byte) or starts a transparent run of 16..47.
constexpr uint32_t kFirstCachedByte = 150;
constexpr uint32_t kFirstAlphaPrefix = 128;
constexpr uint32_t kLastAlphaPrefix = 133;
constexpr uint32_t kEndOrLongGap = 134;
constexpr uint32_t kLastGapByte = 149;
constexpr int32_t kLongGapBase = 16;  // pixels in the shortest run that 134 introduces

constexpr uint32_t kRunCountFull = 0x1F000000;    // run count 31 in an otherwise empty word
constexpr uint32_t kOpaqueFullRun = 0xFF000000;  // alpha 7 and run count 31

constexpr uint32_t kEighth = 0x1F1F1F;  // masks that keep each channel whole after >> 3,
constexpr uint32_t kQuarter = 0x3F3F3F;  // >> 2
constexpr uint32_t kHalf = 0x7F7F7F;     // and >> 1

constexpr uint32_t eighth(uint32_t colour) { return colour >> 3 & kEighth; }
constexpr uint32_t quarter(uint32_t colour) { return colour >> 2 & kQuarter; }
constexpr uint32_t half(uint32_t colour) { return colour >> 1 & kHalf; }

// Each channel's five bits moved to the top of its byte; bit 15 of the literal is ignored.
constexpr uint32_t expandRgb555(uint32_t value) {
    return (value >> 10 & 31) << 19 | (value >> 5 & 31) << 11 | (value & 31) << 3;
}

// The run-length encoder's coarse steps: codes 3 and 4 share a half, 5 to 7 three quarters,
// and code 0 keeps a quarter of a colour nobody will see.
uint32_t premultiplyForRunLength(uint32_t colour, uint32_t alpha) {
    switch (alpha) {
        case 1: return eighth(colour);
        case 2: return quarter(colour);
        case 3:
        case 4: return half(colour);
        case 0: return quarter(colour);
        default: return quarter(colour) + half(colour);
    }
}

// The JPEG alpha runs' steps in eighths; codes 0 and 7 are handled by their callers.
uint32_t premultiplyForAlphaRuns(uint32_t colour, uint32_t alpha) {
    switch (alpha) {
        case 1: return eighth(colour);
        case 2: return quarter(colour);
        case 3: return quarter(colour) + eighth(colour);
        case 4: return half(colour);
        case 5: return eighth(colour) + half(colour);
        default: return quarter(colour) + half(colour);
    }
}

// Made on first use (and again after a refused allocation) and never destroyed, so a picture
// decoded during exit finds it alive.
Array<uint32_t>& colourCache() {
    static Array<uint32_t>* const cache = new Array<uint32_t>();
    if (cache->isEmpty()) {
        *cache = allocInt<uint32_t>(PictureDecoder::kCacheSize);
    }
    return *cache;
}

// One pass of the run-length decoder over data[first, end) into pixels[0, capacity). Every
// read and write is checked, so damaged data ends the pass instead of leaving the arrays.
class RunLengthPass {
public:
    RunLengthPass(uint32_t* cache, uint32_t* pixels, int32_t capacity, const uint8_t* data, int32_t first,
                  int32_t end)
        : m_cache(cache), m_pixels(pixels), m_capacity(capacity), m_data(data), m_in(first),
          m_end(end) {}

    bool run();

private:
    bool next(uint32_t& byte) {
        if (m_in >= m_end) {
            return false;
        }
        byte = m_data[m_in++];
        return true;
    }

    bool put(uint32_t word) {
        if (m_out >= m_capacity) {
            return false;
        }
        m_pixels[m_out++] = word;
        return true;
    }

    bool colourFor(uint32_t byte, uint32_t& colour);
    bool readOpaqueRun(uint32_t& byte);
    void markOpaqueRun(int32_t start);
    bool putTransparentRun(int32_t length);
    bool readTransparentRuns(uint32_t& byte, bool& finished);
    bool readTranslucentPixel(uint32_t byte);

    uint32_t* m_cache;
    uint32_t* m_pixels;
    int32_t m_capacity;
    const uint8_t* m_data;
    int32_t m_in;
    int32_t m_end;
    int32_t m_out = 0;
    int32_t m_cacheWrite = 0;
    uint32_t m_alpha = 0;  // code of the next translucent pixel; kept until a prefix or long gap
};

// A cached colour, or a literal whose low byte follows and which joins the cache.
bool RunLengthPass::colourFor(uint32_t byte, uint32_t& colour) {
    if (byte >= kFirstCachedByte) {
        colour = m_cache[byte - kFirstCachedByte];
        return true;
    }
    uint32_t low = 0;
    if (!next(low)) {
        return false;
    }
    colour = expandRgb555(byte << 8 | low);
    m_cache[m_cacheWrite] = colour;
    m_cacheWrite = m_cacheWrite == PictureDecoder::kCacheSize - 1 ? 0 : m_cacheWrite + 1;
    return true;
}

// Colours until a control byte, which is left in byte; the run then gets its alpha and counts.
bool RunLengthPass::readOpaqueRun(uint32_t& byte) {
    const int32_t start = m_out;
    while (byte < kFirstAlphaPrefix || byte >= kFirstCachedByte) {
        uint32_t colour = 0;
        if (!colourFor(byte, colour) || !put(colour) || !next(byte)) {
            return false;
        }
    }
    markOpaqueRun(start);
    return true;
}

// Run counts stop at 31, so a longer run starts with pixels that all claim 31 more.
void RunLengthPass::markOpaqueRun(int32_t start) {
    int32_t length = m_out - start;
    if (length > kMaxRun) {
        for (int32_t i = start; i < m_out - kMaxRun; ++i) {
            m_pixels[i] |= kOpaqueFullRun;
        }
        start = m_out - kMaxRun;
        length = kMaxRun;
    }
    for (int32_t i = 0; i < length; ++i) {
        m_pixels[start + i] |= kOpaqueAlpha | static_cast<uint32_t>(length - 1 - i) << kRunShift;
    }
}

bool RunLengthPass::putTransparentRun(int32_t length) {
    if (length > m_capacity - m_out) {
        return false;
    }
    for (; length > kMaxRun; --length) {
        m_pixels[m_out++] = kRunCountFull;
    }
    while (length > 0) {
        m_pixels[m_out++] = static_cast<uint32_t>(--length) << kRunShift;
    }
    return true;
}

// Gaps one after another; byte is left holding the first byte after them. finished is set by
// the 134 that is the data's last byte.
bool RunLengthPass::readTransparentRuns(uint32_t& byte, bool& finished) {
    while (byte >= kEndOrLongGap && byte <= kLastGapByte) {
        auto length = static_cast<int32_t>(byte - kEndOrLongGap);
        if (length == 0) {
            if (m_in == m_end) {
                finished = true;
                return true;
            }
            uint32_t extension = 0;
            next(extension);
            length = static_cast<int32_t>(extension >> 3) + kLongGapBase;
            m_alpha = extension & 7;
        }
        if (!putTransparentRun(length) || !next(byte)) {
            return false;
        }
    }
    return true;
}

// An optional alpha prefix, then one pixel premultiplied for the current alpha code.
bool RunLengthPass::readTranslucentPixel(uint32_t byte) {
    if (byte >= kFirstAlphaPrefix && byte <= kLastAlphaPrefix) {
        m_alpha = byte - (kFirstAlphaPrefix - 1);
        if (!next(byte)) {
            return false;
        }
    }
    uint32_t colour = 0;
    return colourFor(byte, colour) &&
           put(premultiplyForRunLength(colour, m_alpha) | m_alpha << kAlphaShift);
}

bool RunLengthPass::run() {
    uint32_t byte = 0;
    if (!next(byte)) {
        return false;
    }
    for (;;) {
        bool finished = false;
        if (!readOpaqueRun(byte) || !readTransparentRuns(byte, finished)) {
            return false;
        }
        if (finished) {
            return true;
        }
        if (!readTranslucentPixel(byte) || !next(byte)) {
            return false;
        }
    }
}

void applyAlphaRun(uint32_t* pixels, int32_t length, uint32_t alpha) {
    for (int32_t i = 0; i < length; ++i) {
        const uint32_t runCount = static_cast<uint32_t>(length - 1 - i) << kRunShift;
        const uint32_t colour = pixels[i] & kColourMask;
        if (alpha == 0) {
            pixels[i] = runCount;
        } else if (alpha == 7) {
            pixels[i] = colour | runCount | kOpaqueAlpha;
        } else {
            pixels[i] = premultiplyForAlphaRuns(colour, alpha) | runCount | alpha << kAlphaShift;
        }
    }
}

}  // namespace

bool PictureDecoder::decodeRunLength(Picture& picture, const Array<uint32_t>& pixels, const Array<uint8_t>& data,
                                     int32_t first, int32_t end) {
    if (first < 0 || first > end || end > data.length()) {
        return false;
    }
    Array<uint32_t>& cache = colourCache();
    if (cache.isEmpty()) {
        return false;
    }
    std::memset(cache.data(), 0, sizeof(uint32_t) * kCacheSize);
    const int32_t area = picture.m_width > 0 && picture.m_height > 0 ? picture.m_width * picture.m_height : 0;
    const int32_t capacity = area < pixels.length() ? area : pixels.length();
    return RunLengthPass(cache.data(), pixels.data(), capacity, data.data(), first, end).run();
}

bool PictureDecoder::applyAlphaRuns(const Array<uint32_t>& pixels, const Array<uint8_t>& data, int32_t start,
                                    int32_t end, int32_t pixelCount) {
    if (start < 0 || start > end || end > data.length() || pixelCount < 0 || pixelCount > pixels.length()) {
        return false;
    }
    int32_t done = 0;
    for (int32_t in = start; done < pixelCount; ++in) {
        if (in == end) {
            return false;  // the runs stop short of the last pixel
        }
        const uint32_t runByte = data[in];
        int32_t length = runByte >> 3 == 0 ? 32 : static_cast<int32_t>(runByte >> 3);
        const bool fits = length <= pixelCount - done;
        if (!fits) {
            length = pixelCount - done;
        }
        applyAlphaRun(pixels.data() + done, length, runByte & 7);
        done += length;
        if (!fits) {
            return false;
        }
    }
    return true;
}

}  // namespace vornel
