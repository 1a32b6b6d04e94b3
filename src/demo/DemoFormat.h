// The demo file: what a recorded session holds and how it is laid out on disk.
//
//   header   "VORNDEMO", format version (u16), game version, device profile (each a u8
//            length and the bytes), the random seed (u32), the starting settings file (a u16
//            length and the bytes); from version 2 on, the moment the recording started
//            (seconds since 1970 UTC, u64; 0 when unknown)
//   frames   one chunk a frame: 'F', the payload's length (varint), the payload, its CRC-32
//            (u32); the payload is the frame's records in the order the game read them
//   games    from version 2 on, between the frames: a chunk 'G' (same framing) whenever a
//            game of the session begins to be played, changes its score or level, or ends:
//            the game's number in the session, its first and last frame so far (varints),
//            the level (u8, 1 for Hard), the player's and the opponent's points (u8 each) and
//            whether it was played to its end (u8); the last chunk of a number holds
//   trailer  a chunk 'E' (same framing) whose payload is the number of frame chunks (u32)
//            and the checksum of every frame drawn (u32): from version 3 on, of the hash of
//            what each frame painted (core/FrameHash.h); before, of the hash of its every pixel
//
// A record is the change from the previous value of its kind (0 before the first), zigzag
// coded so that small changes of either sign are small numbers z: one byte kind << 3 | z when
// z is below 7, else kind << 3 | 7 followed by z - 7 as a varint. Varints are 7 bits a byte,
// low bits first, the top bit set on every byte but the last. Numbers are little-endian.
// Each frame is written whole and flushed, so a recording cut off by a crash or a kill still
// plays up to its last complete frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo/InputTape.h"

namespace vornel {

struct DemoHeader {
    static constexpr uint16_t kFormatVersion = 3;
    static constexpr uint16_t kOldestFormatVersion = 1;  // still played back
    static constexpr uint16_t kFirstChangesHashVersion = 3;

    uint16_t formatVersion = kFormatVersion;
    std::string gameVersion;
    std::string profile;
    uint32_t seed = 0;
    std::vector<uint8_t> settings;  // the settings file as it was at the start; empty for none
    uint64_t recordedAt = 0;        // seconds since 1970 UTC; 0 when unknown (and in version 1)

    friend bool operator==(const DemoHeader&, const DemoHeader&) = default;
};

// One value the game thread took from outside, in the order it took them.
struct DemoRecord {
    uint8_t kind = 0;
    int32_t value = 0;

    friend bool operator==(const DemoRecord&, const DemoRecord&) = default;
};

namespace demo {

inline constexpr char kMagic[8] = {'V', 'O', 'R', 'N', 'D', 'E', 'M', 'O'};
inline constexpr uint8_t kFrameChunk = 'F';
inline constexpr uint8_t kEndChunk = 'E';
inline constexpr uint8_t kGameChunk = 'G';
inline constexpr std::size_t kLongestString = 255;
inline constexpr std::size_t kLongestSettings = 65535;
inline constexpr uint8_t kKindLimit = 32;   // kinds are 1 to 31
inline constexpr uint32_t kInlineLimit = 7;  // changes coded in the kind's byte

// CRC-32 (the polynomial of zip and PNG) of the bytes.
uint32_t crc32(const uint8_t* bytes, std::size_t count);

void putVarint(std::vector<uint8_t>& out, uint32_t value);
// Small magnitudes of either sign become small numbers: 0, -1, 1, -2, ... become 0, 1, 2, 3, ...
inline uint32_t zigzag(int32_t value) {
    return (static_cast<uint32_t>(value) << 1) ^ static_cast<uint32_t>(value >> 31);
}
inline int32_t unzigzag(uint32_t value) {
    return static_cast<int32_t>((value >> 1) ^ (0u - (value & 1)));
}

}  // namespace demo
}  // namespace vornel
