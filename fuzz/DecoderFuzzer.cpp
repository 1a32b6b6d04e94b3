// Fuzz target of the picture decoder: the input is a picture's width and height (16 bits
// each, big-endian) and then data that is decoded both as run-length pixels and as the alpha
// runs of a JPEG picture of that size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "media/PictureDecoder.h"

namespace {

using namespace vornel;

constexpr std::size_t kSizeBytes = 4;
constexpr int32_t kMostPixels = 512 * 512;  // larger than any picture of the game's bank

int32_t bigEndian16(const uint8_t* bytes) {
    return bytes[0] << 8 | bytes[1];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < kSizeBytes) {
        return 0;
    }
    const int32_t width = bigEndian16(data);
    const int32_t height = bigEndian16(data + 2);
    if (int64_t{width} * height > kMostPixels) {
        return 0;
    }
    // Sides beyond 32767 reach the decoder as negative 16-bit fields, which it must refuse.
    Ref<Picture> picture = new Picture();
    picture->m_width = static_cast<int16_t>(width);
    picture->m_height = static_cast<int16_t>(height);
    const auto length = static_cast<int32_t>(size - kSizeBytes);
    Array<uint8_t> bytes = allocByte(length);
    if (length > 0) {
        std::memcpy(bytes.data(), data + kSizeBytes, static_cast<std::size_t>(length));
    }
    Array<uint32_t> pixels = allocInt<uint32_t>(width * height);
    PictureDecoder::decodeRunLength(*picture, pixels, bytes, 0, length);
    PictureDecoder::applyAlphaRuns(pixels, bytes, 0, length, width * height);
    return 0;
}
