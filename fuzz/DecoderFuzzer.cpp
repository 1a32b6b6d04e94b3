// Fuzz target of the picture decoder: the input is a picture's width and height (16 bits
// each, big-endian) and then data that is decoded both as run-length pixels and as the alpha
// runs of a JPEG picture of that size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "SizePrefix.h"
#include "media/PictureDecoder.h"

namespace {

using namespace vornel;

constexpr int32_t kMostPixels = 512 * 512;  // larger than any picture of the game's bank

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    int32_t width = 0;
    int32_t height = 0;
    if (!fuzz::SizePrefix::read(data, size, kMostPixels, width, height)) {
        return 0;
    }
    // Sides beyond 32767 reach the decoder as negative 16-bit fields, which it must refuse.
    Ref<Picture> picture = new Picture();
    picture->m_width = static_cast<int16_t>(width);
    picture->m_height = static_cast<int16_t>(height);
    const auto length = static_cast<int32_t>(size - fuzz::SizePrefix::kBytes);
    Array<uint8_t> bytes = allocByte(length);
    if (length > 0) {
        std::memcpy(bytes.data(), data + fuzz::SizePrefix::kBytes, static_cast<std::size_t>(length));
    }
    Array<uint32_t> pixels = allocInt<uint32_t>(width * height);
    PictureDecoder::decodeRunLength(*picture, pixels, bytes, 0, length);
    PictureDecoder::applyAlphaRuns(pixels, bytes, 0, length, width * height);
    return 0;
}
