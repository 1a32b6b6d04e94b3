// White noise: Marsaglia's 32-bit xorshift, whose state never reaches 0 from a seed that is not 0.
#include "sound/NoiseSource.h"

namespace vornel {

NoiseSource::NoiseSource(uint32_t seed) : m_state(seed == 0 ? 1u : seed) {}

float NoiseSource::next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    // The top 24 bits fill a float's mantissa exactly: 0 <= x < 2^24.
    const auto x = static_cast<float>(m_state >> 8);
    return x / 8388608.0f - 1.0f;
}

}  // namespace vornel
