// Writes the font file's variable-length integers, the inverse of the game's readVarInt.
#pragma once

#include <cstdint>
#include <vector>

namespace vornel {

class VarIntWriter {
public:
    // Appends the value in groups of 7 bits, most significant group first; every byte but
    // the last has its top bit set. 0..127 is one byte, 128..16383 two, and so on. The game
    // reads into 32 signed bits, so values above 0x7FFFFFFF do not come back as written.
    static void append(std::vector<uint8_t>& bytes, uint32_t value);
};

}  // namespace vornel
