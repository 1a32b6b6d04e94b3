// A band-limited tone: each waveform is summed from its sine harmonics, and harmonics near
// and above a ceiling are left out, so no tone folds back below the 4000 Hz Nyquist limit.
#pragma once

#include <cstdint>

namespace vornel {

class Oscillator {
public:
    enum class Waveform {
        Sine,
        Triangle,
        Square,
        QuarterPulse,  // a pulse high for a quarter of each cycle: the thin, nasal chip tone
        Sawtooth,
    };

    // Nothing above this reaches the player: the handheld's speaker and the 8000 Hz rate.
    static constexpr float kCeilingHz = 3500.0f;

    // highestHz (at most kCeilingHz) darkens the tone: harmonics fade out over the last fifth
    // below it, so a sweeping pitch never switches one on or off with a jump.
    explicit Oscillator(Waveform waveform, float highestHz = kCeilingHz);

    // The sample at the current phase, then one sample's step of the given frequency
    // forward. The waves reach about +1 at their peaks (the pulse dips only to -1/3), with a
    // little overshoot where the harmonics are cut. A new oscillator starts at phase 0,
    // where all but the pulse are 0.
    float next(float hz);

private:
    float harmonicAmplitude(int32_t harmonic) const;
    float harmonicWeight(float harmonicHz) const;
    double harmonicWave(double radians) const;

    Waveform m_waveform;
    float m_highestHz;
    double m_phase = 0.0;  // in cycles, 0 <= phase < 1
};

}  // namespace vornel
