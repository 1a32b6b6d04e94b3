// Alpha runs of JPEG pictures.
#include "bank/AlphaRunEncoder.h"

#include <algorithm>

#include "bank/ColourLevels.h"

namespace vornel {

namespace {

int32_t codeOf(uint32_t argb) {
    return ColourLevels::alphaCode(RgbaImage::alpha(argb));
}

void appendRuns(std::vector<uint8_t>& runs, int32_t length, int32_t code) {
    while (length > 0) {
        const int32_t run = std::min(length, AlphaRunEncoder::kLongestRun);
        // A run of 32 wraps to 0 in the five count bits, which the decoder reads as 32.
        runs.push_back(static_cast<uint8_t>(((run & 31) << 3) | code));
        length -= run;
    }
}

}  // namespace

std::vector<uint8_t> AlphaRunEncoder::encode(const RgbaImage& image) {
    const std::vector<uint32_t>& pixels = image.pixels();
    std::vector<uint8_t> runs;
    std::size_t start = 0;
    bool sawTranslucency = false;
    while (start < pixels.size()) {
        const int32_t code = codeOf(pixels[start]);
        std::size_t end = start + 1;
        while (end < pixels.size() && codeOf(pixels[end]) == code) {
            ++end;
        }
        appendRuns(runs, static_cast<int32_t>(end - start), code);
        sawTranslucency = sawTranslucency || code != ColourLevels::kOpaqueCode;
        start = end;
    }
    return sawTranslucency ? runs : std::vector<uint8_t>();
}

}  // namespace vornel
