// Band-passed noise under an envelope.
#include "sound/NoiseBurst.h"

#include "sound/Biquad.h"
#include "sound/NoiseSource.h"
#include "sound/Oscillator.h"

namespace vornel {

namespace {

constexpr float kCeilingCutoffHz = 0.9f * Oscillator::kCeilingHz;
constexpr float kFlatQ = 0.7071f;

}  // namespace

NoiseBurst::NoiseBurst(float hz, float q, const Envelope& envelope, uint32_t seed)
    : m_hz(hz), m_q(q), m_envelope(envelope), m_seed(seed) {}

SampleTrack NoiseBurst::render(int32_t length) const {
    SampleTrack track(length);
    NoiseSource noise(m_seed);
    Biquad band = Biquad::bandPass(m_hz, m_q);
    // A band-pass still lets through a good part of the noise between 3.5 and 4 kHz, which
    // the speaker wastes; this second filter is 3 dB down at 3.2 kHz and 15 dB at 3.9 kHz.
    Biquad ceiling = Biquad::lowPass(kCeilingCutoffHz, kFlatQ);
    for (int32_t i = 0; i < length; ++i) {
        track[i] = ceiling.process(band.process(noise.next())) * m_envelope.at(i);
    }
    return track;
}

}  // namespace vornel
