// The operations every application object offers.
#include "core/Base.h"

#include <cstdio>

#include "core/Console.h"

namespace vornel {

Turn Base::fatan2(Fixed y, Fixed x) {
    return vornel::fatan2(y, x);
}

Ref<String> Base::toString(Fixed value) {
    return String::fromNumber(fromFixed(value));
}

int32_t Base::readFully(FileStream& stream, const Array<uint8_t>& array, int32_t offset, int32_t count) {
    int32_t total = 0;
    while (count > 0) {
        const int32_t got = stream.read(array, offset, count);
        if (got < 0) {
            break;
        }
        offset += got;
        count -= got;
        total += got;
    }
    return total;
}

void Base::trace(const String& text, int32_t first, int32_t second) {
    Console::print(text);
    std::printf(" %d %d\n", first, second);
}

void Base::trace(const String& text, int32_t value) {
    Console::print(text);
    std::printf(" %d\n", value);
}

void Base::trace(const String& text) {
    Console::printLine(text);
}

int32_t Base::ushr(int32_t value, int32_t shift) {
    const uint32_t count = static_cast<uint32_t>(shift) & 0xFF;
    return count >= 32 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(value) >> count);
}

}  // namespace vornel
