// The frame hash.
#include "core/FrameHash.h"

// Compiled into this file alone: nothing to link, and the same on every target.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace vornel::frames {

uint32_t hash(const uint32_t* pixels, std::size_t count) {
    const XXH64_hash_t hash = XXH3_64bits(pixels, count * sizeof(uint32_t));
    return static_cast<uint32_t>(hash ^ hash >> 32);
}

// The rows are gathered into one block and hashed in one go: far cheaper than a hash a row
// for rectangles a few dozen pixels wide. A screen paints on one thread, but any thread may.
// The block only grows: shrinking it and growing it again would clear the regrown part every
// time, a third of the cost of the hash.
uint64_t withChange(uint64_t changes, const uint32_t* pixels, int32_t stride, int32_t left, int32_t top,
                    int32_t right, int32_t bottom) {
    thread_local std::vector<uint32_t> gathered;
    const auto width = static_cast<std::size_t>(right - left);
    const std::size_t count = 4 + width * static_cast<std::size_t>(bottom - top);
    if (gathered.size() < count) {
        gathered.resize(count);
    }
    uint32_t* to = gathered.data();
    for (const int32_t side : {left, top, right, bottom}) {
        *to++ = static_cast<uint32_t>(side);
    }
    for (int32_t y = top; y < bottom; ++y, to += width) {
        std::memcpy(to, pixels + static_cast<std::ptrdiff_t>(y) * stride + left, width * sizeof(uint32_t));
    }
    return XXH3_64bits_withSeed(gathered.data(), count * sizeof(uint32_t), changes);
}

}  // namespace vornel::frames
