// The hash of a frame's pixels and the checksum of a run's frames, folded the same way by a
// demo and by the stats line, so that a recorded run prints one checksum in both. A frame is
// hashed by what it changed: the position and the pixels of each rectangle painted in it, in
// the order painted, which costs what the frame drew; demos of the first formats hashed every
// pixel of the frame instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornel::frames {

// XXH3 (64 bits, folded to 32), some 15 microseconds for a frame of 240 x 320.
uint32_t hash(const uint32_t* pixels, std::size_t count);

// The hash of a frame's changes, built up one painted rectangle at a time from its basis.
inline constexpr uint64_t kChangesBasis = 0x243F6A8885A308D3u;
// Adds the rectangle (left, top, right, bottom; inside the rows of the given stride) of the
// pixels, its position first, one row at a time.
uint64_t withChange(uint64_t changes, const uint32_t* pixels, int32_t stride, int32_t left, int32_t top,
                    int32_t right, int32_t bottom);
inline constexpr uint32_t ofChanges(uint64_t changes) {
    return static_cast<uint32_t>(changes ^ changes >> 32);
}

// FNV-1a over the frame hashes, a word at a time, from its offset basis.
inline constexpr uint32_t kChecksumBasis = 2166136261u;
inline constexpr uint32_t fold(uint32_t checksum, uint32_t frameHash) {
    return (checksum ^ frameHash) * 16777619u;
}

}  // namespace vornel::frames
