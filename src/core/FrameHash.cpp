// The frame hash.
#include "core/FrameHash.h"

// Compiled into this file alone: nothing to link, and the same on every target.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace vornel::frames {

uint32_t hash(const uint32_t* pixels, std::size_t count) {
    const XXH64_hash_t hash = XXH3_64bits(pixels, count * sizeof(uint32_t));
    return static_cast<uint32_t>(hash ^ hash >> 32);
}

}  // namespace vornel::frames
