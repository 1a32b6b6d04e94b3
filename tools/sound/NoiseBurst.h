// A short burst of noise through a band-pass filter: the click of a hard contact.
#pragma once

#include <cstdint>

#include "sound/Envelope.h"
#include "sound/SampleTrack.h"

namespace vornel {

class NoiseBurst {
public:
    // Noise centred on hz with sharpness q, shaped by the envelope, which should be
    // percussive (sustain 0) and held for the whole burst.
    NoiseBurst(float hz, float q, const Envelope& envelope, uint32_t seed);

    // The burst, trimmed or padded with silence to length samples.
    SampleTrack render(int32_t length) const;

private:
    float m_hz;
    float m_q;
    Envelope m_envelope;
    uint32_t m_seed;
};

}  // namespace vornel
