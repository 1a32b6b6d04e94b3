// The ring of a struck body as a sum of exponentially decaying sines.
#include "sound/StruckBody.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "sound/Oscillator.h"

namespace vornel {

StruckBody::StruckBody(std::vector<Mode> modes, float attackSeconds)
    : m_modes(std::move(modes)), m_attack(std::max(1, SampleTrack::samplesIn(attackSeconds))) {}

SampleTrack StruckBody::strike(int32_t length) const {
    SampleTrack track(length);
    for (const Mode& mode : m_modes) {
        if (mode.hz > 0.0f && mode.hz < Oscillator::kCeilingHz && mode.decaySeconds > 0.0f) {
            addMode(track, mode);
        }
    }
    return track;
}

void StruckBody::addMode(SampleTrack& track, const Mode& mode) const {
    const double step = 2.0 * std::numbers::pi * mode.hz / SampleTrack::kSampleRate;
    // The fall per sample, multiplied in rather than recomputed with exp() every sample.
    const double fallPerSample = std::exp(-1.0 / (mode.decaySeconds * SampleTrack::kSampleRate));
    double level = mode.gain;
    for (int32_t i = 0; i < track.length(); ++i) {
        double attack = 1.0;
        if (i < m_attack) {
            attack = 0.5 - 0.5 * std::cos(std::numbers::pi * i / m_attack);
        }
        track[i] += static_cast<float>(level * attack * std::sin(step * i));
        level *= fallPerSample;
    }
}

}  // namespace vornel
