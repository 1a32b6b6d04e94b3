// The run-length encoder of "r" and "o" pictures.
#include "bank/RunLengthEncoder.h"

#include <algorithm>

#include "bank/ColourLevels.h"

namespace vornel {

std::vector<uint8_t> RunLengthEncoder::encode(const RgbaImage& image) {
    RunLengthEncoder encoder(image);
    encoder.encodePicture();
    return std::move(encoder.m_bytes);
}

bool RunLengthEncoder::isOpaque(const RgbaImage& image) {
    return std::all_of(image.pixels().begin(), image.pixels().end(), [](uint32_t argb) {
        return ColourLevels::alphaCode(RgbaImage::alpha(argb)) == ColourLevels::kOpaqueCode;
    });
}

RunLengthEncoder::RunLengthEncoder(const RgbaImage& image) {
    m_codes.reserve(image.pixels().size());
    m_colours.reserve(image.pixels().size());
    for (uint32_t argb : image.pixels()) {
        const int32_t code = ColourLevels::alphaCode(RgbaImage::alpha(argb));
        m_codes.push_back(static_cast<int8_t>(code));
        m_colours.push_back(ColourLevels::toRgb555(ColourLevels::runLengthStoredColour(RgbaImage::colour(argb), code)));
    }
}

void RunLengthEncoder::encodePicture() {
    int32_t next = 0;
    for (;;) {
        next = encodeOpaqueRun(next);
        if (next == pixelCount()) {
            break;
        }
        const int32_t gapEnd = endOfTransparentGap(next);
        const int32_t gap = gapEnd - next;
        if (gapEnd == pixelCount()) {
            // The final 134 follows the runs directly; no pixel comes after them.
            emitTransparentRuns(gap, m_alphaCode);
            break;
        }
        if (codeAt(gapEnd) == ColourLevels::kOpaqueCode) {
            encodeGapThenOpaque(gap, gapEnd);
            next = gapEnd;
        } else {
            encodeGapThenTranslucent(gap, gapEnd);
            next = gapEnd + 1;
        }
    }
    m_bytes.push_back(kLongRunOrEnd);
}

int32_t RunLengthEncoder::encodeOpaqueRun(int32_t first) {
    int32_t i = first;
    while (i < pixelCount() && codeAt(i) == ColourLevels::kOpaqueCode) {
        emitColour(colourAt(i));
        ++i;
    }
    return i;
}

int32_t RunLengthEncoder::endOfTransparentGap(int32_t first) const {
    int32_t i = first;
    while (i < pixelCount() && codeAt(i) == ColourLevels::kTransparentCode) {
        ++i;
    }
    return i;
}

void RunLengthEncoder::encodeGapThenTranslucent(int32_t gap, int32_t translucent) {
    const int32_t code = codeAt(translucent);
    // An extended run can set the code on the way; otherwise a prefix must, and a pixel with
    // no gap before it needs the prefix anyway to leave the opaque run.
    emitTransparentRuns(gap, code);
    if (gap == 0 || m_alphaCode != code) {
        emitAlphaPrefix(code);
    }
    emitColour(colourAt(translucent));
}

void RunLengthEncoder::encodeGapThenOpaque(int32_t gap, int32_t opaque) {
    // The gap's last pixel is the one decoded with the current alpha code, so it is
    // transparent only when the runs before it leave the code at 0: any gap whose runs
    // include an extended one, or a gap whose code is still 0 from earlier.
    const int32_t viaRuns = gap - 1;
    if (viaRuns >= kMinLongRun || (viaRuns >= 1 && m_alphaCode == ColourLevels::kTransparentCode)) {
        emitTransparentRuns(viaRuns, ColourLevels::kTransparentCode);
        emitColour(0);  // black: at alpha code 0 the decoded word is exactly 0
        return;
    }
    emitTransparentRuns(viaRuns, m_alphaCode);
    emitAlphaPrefix(kFaintestCode);
    emitColour(colourAt(opaque));
}

void RunLengthEncoder::emitTransparentRuns(int32_t count, int32_t alphaCodeAfter) {
    while (count > 0) {
        const int32_t run = std::min(count, kMaxLongRun);
        if (run >= kMinLongRun) {
            m_bytes.push_back(kLongRunOrEnd);
            m_bytes.push_back(static_cast<uint8_t>(((run - kMinLongRun) << 3) | alphaCodeAfter));
            m_alphaCode = alphaCodeAfter;
        } else {
            m_bytes.push_back(static_cast<uint8_t>(kShortRunBase + run));
        }
        count -= run;
    }
}

void RunLengthEncoder::emitAlphaPrefix(int32_t code) {
    m_bytes.push_back(static_cast<uint8_t>(kFirstAlphaPrefix + code - 1));
    m_alphaCode = code;
}

void RunLengthEncoder::emitColour(uint32_t rgb555) {
    const uint32_t expanded = ColourLevels::expandRgb555(rgb555);
    const auto cached = std::find(m_cache.begin(), m_cache.end(), expanded);
    if (cached != m_cache.end()) {
        m_bytes.push_back(static_cast<uint8_t>(kFirstCacheByte + (cached - m_cache.begin())));
        return;
    }
    m_bytes.push_back(static_cast<uint8_t>(rgb555 >> 8));
    m_bytes.push_back(static_cast<uint8_t>(rgb555));
    m_cache[static_cast<std::size_t>(m_cacheWriteIndex)] = expanded;
    m_cacheWriteIndex = m_cacheWriteIndex == kCacheSize - 1 ? 0 : m_cacheWriteIndex + 1;
}

}  // namespace vornel
