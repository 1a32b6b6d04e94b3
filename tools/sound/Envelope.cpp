// Attack, decay, sustain and release of a note, sample by sample.
#include "sound/Envelope.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sound/SampleTrack.h"

namespace vornel {

namespace {

// 0 at 0 rising to 1 at 1 on half a cosine, flat at both ends.
float smoothRise(float x) {
    return 0.5f - 0.5f * std::cos(std::numbers::pi_v<float> * std::clamp(x, 0.0f, 1.0f));
}

int32_t samplesOf(float seconds) {
    return std::max(0, SampleTrack::samplesIn(seconds));
}

}  // namespace

Envelope::Envelope(const Shape& shape, float gateSeconds)
    : m_shape(shape),
      m_attack(samplesOf(shape.attackSeconds)),
      m_gate(samplesOf(gateSeconds)),
      m_release(std::max(1, samplesOf(shape.releaseSeconds))) {}

float Envelope::heldLevel(int32_t i) const {
    if (i < m_attack) {
        return smoothRise(static_cast<float>(i) / static_cast<float>(m_attack));
    }
    if (m_shape.decaySeconds <= 0.0f) {
        return m_shape.sustainLevel;
    }
    const float seconds = static_cast<float>(SampleTrack::secondsOf(i - m_attack));
    const float fall = std::exp(-seconds / m_shape.decaySeconds);
    return m_shape.sustainLevel + (1.0f - m_shape.sustainLevel) * fall;
}

float Envelope::at(int32_t i) const {
    if (i < 0 || i >= length()) {
        return 0.0f;
    }
    const float held = heldLevel(i);
    if (i < m_gate) {
        return held;
    }
    // The decay goes on under the release, so a struck note keeps its natural fall.
    return held * (1.0f - smoothRise(static_cast<float>(i - m_gate) / static_cast<float>(m_release)));
}

}  // namespace vornel
