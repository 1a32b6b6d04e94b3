// One note of an instrument: oscillator, envelope and delayed vibrato.
#include "sound/Instrument.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vornel {

namespace {

// The vibrato grows to full depth over this long after its delay, so it never starts with a lurch.
constexpr float kVibratoFadeInSeconds = 0.2f;

}  // namespace

Instrument::Instrument(const Settings& settings) : m_settings(settings) {}

float Instrument::vibratoAt(int32_t i) const {
    const float seconds = static_cast<float>(SampleTrack::secondsOf(i));
    const float sinceDelay = seconds - m_settings.vibratoDelaySeconds;
    if (m_settings.vibratoDepth <= 0.0f || sinceDelay <= 0.0f) {
        return 0.0f;
    }
    const float depth = m_settings.vibratoDepth * std::min(1.0f, sinceDelay / kVibratoFadeInSeconds);
    return depth * std::sin(2.0f * std::numbers::pi_v<float> * m_settings.vibratoHz * sinceDelay);
}

int32_t Instrument::noteLength(float gateSeconds) const {
    return Envelope(m_settings.shape, gateSeconds).length();
}

SampleTrack Instrument::play(float hz, float gateSeconds) const {
    const Envelope envelope(m_settings.shape, gateSeconds);
    Oscillator oscillator(m_settings.waveform, m_settings.brightnessHz);
    SampleTrack note(envelope.length());
    for (int32_t i = 0; i < note.length(); ++i) {
        note[i] = oscillator.next(hz * (1.0f + vibratoAt(i))) * envelope.at(i);
    }
    return note;
}

}  // namespace vornel
