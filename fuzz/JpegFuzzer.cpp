// Fuzz target of the JPEG wrapper: the input is the expected width and height (16 bits each,
// big-endian) and then the JPEG stream, decoded into a pixel block of the expected size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "media/JpegDecode.h"

namespace {

using namespace vornel;

constexpr std::size_t kSizeBytes = 4;
constexpr int32_t kMostPixels = 1024 * 1024;  // 4 MB of pixel words

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
    const auto length = static_cast<int32_t>(size - kSizeBytes);
    Array<uint8_t> jpeg = allocByte(length);
    if (length > 0) {
        std::memcpy(jpeg.data(), data + kSizeBytes, static_cast<std::size_t>(length));
    }
    Array<uint32_t> pixels = allocInt<uint32_t>(width * height);
    decodeJpeg(jpeg, 0, length, width, height, pixels, 0);
    return 0;
}
