// Band-limited waveforms as sums of sine harmonics with the classic Fourier amplitudes.
#include "sound/Oscillator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sound/SampleTrack.h"

namespace vornel {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr float kPi = std::numbers::pi_v<float>;
// Harmonics fade out over the top fifth of the allowed band.
constexpr float kFadeStartFraction = 0.8f;
constexpr float kQuarter = 0.25f;
// Below this a tone is inaudible, and its harmonics under the ceiling would run to thousands.
constexpr float kLowestHz = 1.0f;

}  // namespace

Oscillator::Oscillator(Waveform waveform, float highestHz)
    : m_waveform(waveform), m_highestHz(std::clamp(highestHz, 1.0f, kCeilingHz)) {}

float Oscillator::harmonicAmplitude(int32_t harmonic) const {
    const auto k = static_cast<float>(harmonic);
    const bool odd = harmonic % 2 == 1;
    switch (m_waveform) {
    case Waveform::Sine:
        return harmonic == 1 ? 1.0f : 0.0f;
    case Waveform::Triangle: {
        const float sign = (harmonic / 2) % 2 == 0 ? 1.0f : -1.0f;
        return odd ? sign * 8.0f / (kPi * kPi * k * k) : 0.0f;
    }
    case Waveform::Square:
        return odd ? 4.0f / (kPi * k) : 0.0f;
    case Waveform::QuarterPulse:
        // A pulse of duty d has cosine harmonics 2 sin(pi k d) / (pi k) and swings from -d
        // to 1 - d about its mean; 4/3 of that puts the high part at +1 and the low at -1/3.
        return 2.0f * std::sin(kPi * k * kQuarter) / (kPi * k) * (4.0f / 3.0f);
    case Waveform::Sawtooth:
        return (odd ? 2.0f : -2.0f) / (kPi * k);
    }
    return 0.0f;
}

float Oscillator::harmonicWeight(float harmonicHz) const {
    const float fadeStart = m_highestHz * kFadeStartFraction;
    if (harmonicHz <= fadeStart) {
        return 1.0f;
    }
    return std::max(0.0f, (m_highestHz - harmonicHz) / (m_highestHz - fadeStart));
}

double Oscillator::harmonicWave(double radians) const {
    // The pulse is centred on phase 0, which makes its harmonics cosines; the others are
    // odd about phase 0 and built from sines.
    return m_waveform == Waveform::QuarterPulse ? std::cos(radians) : std::sin(radians);
}

float Oscillator::next(float hz) {
    float sum = 0.0f;
    if (hz >= kLowestHz) {
        for (int32_t harmonic = 1; static_cast<float>(harmonic) * hz < m_highestHz; ++harmonic) {
            const float weight = harmonicWeight(static_cast<float>(harmonic) * hz);
            const float amplitude = harmonicAmplitude(harmonic);
            if (amplitude != 0.0f) {
                sum += weight * amplitude * static_cast<float>(harmonicWave(kTwoPi * harmonic * m_phase));
            }
        }
    }
    m_phase += static_cast<double>(hz) / SampleTrack::kSampleRate;
    m_phase -= std::floor(m_phase);
    return sum;
}

}  // namespace vornel
