// The game's one random source: an additive lagged-Fibonacci generator over bytes.
#pragma once

#include <cstdint>

#include "core/Array.h"
#include "core/Fixed.h"

namespace vornel {

class Random final {
public:
    // A generator warmed up by (startTicks & 31) + 54 discarded draws, so that the sequence
    // depends on the time at start.
    explicit Random(uint32_t startTicks);

    // One of the 256 values 0, 128, ..., 32640: a fraction in [0, 1).
    Fixed nextFraction();
    // An integer in [lo, hi].
    int32_t nextRange(int32_t lo, int32_t hi);

private:
    static constexpr int32_t kTableSize = 54;

    Array<uint8_t> m_table;
    int32_t m_j = 23;
    int32_t m_k = kTableSize;  // one place beyond the table: the first step lands on 53
};

// The process-wide generator, made on first use from the tick count. Game thread only.
Fixed randomFraction();
// Makes the process-wide generator from these start ticks instead (a demo's seed), before
// its first use; afterwards it changes nothing.
void seedRandom(uint32_t startTicks);
// Starts the process-wide generator again from these start ticks, as if it had never been
// drawn from: a playback's fresh game (the replay viewer seeks by playing from the start).
// Only while no game thread runs.
void reseedRandom(uint32_t startTicks);
int32_t randomRange(int32_t lo, int32_t hi);

}  // namespace vornel
