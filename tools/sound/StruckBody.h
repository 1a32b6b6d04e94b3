// Something hit once: the ring of its resonances, each a sine that dies away at its own rate
// (a ball's shell, a bat's blade, a bell).
#pragma once

#include <cstdint>
#include <vector>

#include "sound/SampleTrack.h"

namespace vornel {

class StruckBody {
public:
    struct Mode {
        float hz;
        float gain;          // amplitude at the end of the attack
        float decaySeconds;  // time constant: the mode falls to 37% in this time
    };

    // attackSeconds: how long the strike takes to reach full level (a millisecond or so
    // for a hard knock, longer for a soft one); it keeps the first sample at 0.
    StruckBody(std::vector<Mode> modes, float attackSeconds);

    // length samples of the ring after one strike. Modes at or above Oscillator::kCeilingHz
    // are left out rather than folded back to a false low pitch.
    SampleTrack strike(int32_t length) const;

private:
    void addMode(SampleTrack& track, const Mode& mode) const;

    std::vector<Mode> m_modes;
    int32_t m_attack;  // samples
};

}  // namespace vornel
