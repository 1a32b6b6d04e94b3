// Typed text.
#include "device/DesktopText.h"

namespace vornel {

std::string DesktopText::latin1Of(std::string_view utf8) {
    std::string text;
    const auto byteAt = [&utf8](std::size_t i) { return i < utf8.size() ? static_cast<unsigned char>(utf8[i]) : 0u; };
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned lead = byteAt(i);
        if (lead < 0x80) {
            text.push_back(static_cast<char>(lead));
            ++i;
        } else if ((lead & 0xE0) == 0xC0 && (byteAt(i + 1) & 0xC0) == 0x80) {
            const unsigned code = (lead & 0x1Fu) << 6 | (byteAt(i + 1) & 0x3Fu);
            if (code <= 0xFF) {
                text.push_back(static_cast<char>(code));
            }
            i += 2;
        } else {
            ++i;  // a longer sequence, or a stray byte: beyond Latin-1 either way
            while (i < utf8.size() && (byteAt(i) & 0xC0) == 0x80) {
                ++i;
            }
        }
    }
    return text;
}

}  // namespace vornel
