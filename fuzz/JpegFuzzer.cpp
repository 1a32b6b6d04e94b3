// Fuzz target of the JPEG wrapper: the input is the expected width and height (16 bits each,
// big-endian) and then the JPEG stream, decoded into a pixel block of the expected size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "SizePrefix.h"
#include "media/JpegDecode.h"

namespace {

using namespace vornel;

constexpr int32_t kMostPixels = 1024 * 1024;  // 4 MB of pixel words

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    int32_t width = 0;
    int32_t height = 0;
    if (!fuzz::SizePrefix::read(data, size, kMostPixels, width, height)) {
        return 0;
    }
    const auto length = static_cast<int32_t>(size - fuzz::SizePrefix::kBytes);
    Array<uint8_t> jpeg = allocByte(length);
    if (length > 0) {
        std::memcpy(jpeg.data(), data + fuzz::SizePrefix::kBytes, static_cast<std::size_t>(length));
    }
    Array<uint32_t> pixels = allocInt<uint32_t>(width * height);
    decodeJpeg(jpeg, 0, length, width, height, pixels, 0);
    return 0;
}
