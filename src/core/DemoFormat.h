// The demo file: what a recorded session holds and how it is laid out on disk.
//
//   header   "VORNDEMO", format version (u16), game version, device profile (each a u8
//            length and the bytes), the random seed (u32), the starting settings file (a u16
//            length and the bytes)
//   frames   one chunk a frame: 'F', the payload's length (varint), the payload, its CRC-32
//            (u32); the payload is the frame's records in the order the game read them
//   trailer  a chunk 'E' (same framing) whose payload is the number of frame chunks (u32)
//            and the checksum of every frame drawn (u32)
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

namespace vornel {

struct DemoHeader {
    static constexpr uint16_t kFormatVersion = 1;

    uint16_t formatVersion = kFormatVersion;
    std::string gameVersion;
    std::string profile;
    uint32_t seed = 0;
    std::vector<uint8_t> settings;  // the settings file as it was at the start; empty for none

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
inline constexpr std::size_t kLongestString = 255;
inline constexpr std::size_t kLongestSettings = 65535;
inline constexpr uint8_t kKindLimit = 32;   // kinds are 1 to 31
inline constexpr uint32_t kInlineLimit = 7;  // changes coded in the kind's byte

// What each record is: the value the game thread read, by where it read it.
enum Kind : uint8_t {
    kTicks = 1,     // the device clock, milliseconds
    kNextKey = 2,   // the oldest queued key press, 0 for none
    kKeyHeld = 3,   // whether the key asked about is held, 0 or 1
    kStylusX = 4,   // the pen position, game pixels
    kStylusY = 5,
    kDragX = 6,     // the pen's drag not used yet, game pixels
    kDragY = 7,
    kTakeDragY = 8, // the vertical drag, used up by the read
    kPaused = 9,    // whether the window is in the background, 0 or 1
    kOpen = 10,     // whether the window is still open, 0 or 1
    kWantedSize = 11,  // the size the window asks for, height << 16 | width (0: none yet)
};

// The hash of a frame's pixels that goes into a session's checksum: XXH3 (64 bits, folded to
// 32), some 15 microseconds for a frame of 240 x 320.
uint32_t frameHash(const uint32_t* pixels, std::size_t count);

// A session's checksum: FNV-1a over the frame hashes, a word at a time, from its offset basis.
inline constexpr uint32_t kChecksumBasis = 2166136261u;
inline constexpr uint32_t foldFrame(uint32_t checksum, uint32_t frameHash) {
    return (checksum ^ frameHash) * 16777619u;
}

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
