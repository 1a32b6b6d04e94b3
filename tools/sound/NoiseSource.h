// White noise from a fixed seed, so every build writes the same sound files.
#pragma once

#include <cstdint>

namespace vornel {

class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed = 0x2545F491u);

    // The next value, evenly spread over -1 <= x < 1.
    float next();

private:
    uint32_t m_state;
};

}  // namespace vornel
