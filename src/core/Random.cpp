// The lagged-Fibonacci generator and the process-wide instance.
#include "core/Random.h"

#include <atomic>

#include "core/Clock.h"

namespace vornel {

Random::Random(uint32_t startTicks) : m_table(allocByte(kTableSize)) {
    for (int32_t i = 0; i < m_table.length(); ++i) {
        m_table[i] = static_cast<uint8_t>(53 + 21 * (i + 1));
    }
    const uint32_t warmUp = (startTicks & 31) + kTableSize;
    for (uint32_t i = 0; i < warmUp; ++i) {
        nextFraction();
    }
}

Fixed Random::nextFraction() {
    if (m_table.isEmpty()) {
        return 0;
    }
    m_j = m_j == 0 ? kTableSize - 1 : m_j - 1;
    m_k = m_k == 0 ? kTableSize - 1 : m_k - 1;
    m_table[m_k] = static_cast<uint8_t>(m_table[m_k] + m_table[m_j]);
    return m_table[m_k] * 128;
}

int32_t Random::nextRange(int32_t lo, int32_t hi) {
    return lo + fmul(nextFraction(), hi - lo + 1);
}

namespace {

std::atomic<bool> g_seeded{false};
std::atomic<uint32_t> g_seed{0};

// Made on first use and never destroyed, so a draw during the process's exit stays safe.
Random& processRandom() {
    static Random* const random = new Random(g_seeded.load() ? g_seed.load() : tickCount());
    return *random;
}

}  // namespace

void seedRandom(uint32_t startTicks) {
    g_seed.store(startTicks);
    g_seeded.store(true);
}

Fixed randomFraction() {
    return processRandom().nextFraction();
}

void reseedRandom(uint32_t startTicks) {
    seedRandom(startTicks);
    processRandom() = Random(startTicks);
}

int32_t randomRange(int32_t lo, int32_t hi) {
    return processRandom().nextRange(lo, hi);
}

}  // namespace vornel
