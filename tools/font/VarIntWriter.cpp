// Variable-length integers of the font file.
#include "font/VarIntWriter.h"

namespace vornel {

void VarIntWriter::append(std::vector<uint8_t>& bytes, uint32_t value) {
    int32_t shift = 28;  // a 32-bit value needs at most five groups: 4 + 7 · 4 bits
    while (shift > 0 && (value >> shift) == 0) {
        shift -= 7;
    }
    for (; shift > 0; shift -= 7) {
        bytes.push_back(static_cast<uint8_t>(0x80 | ((value >> shift) & 0x7F)));
    }
    bytes.push_back(static_cast<uint8_t>(value & 0x7F));
}

}  // namespace vornel
