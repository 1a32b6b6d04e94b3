// A voice that plays notes: a band-limited oscillator under an envelope, with an optional
// vibrato that sets in once a note has been held for a while.
#pragma once

#include "sound/Envelope.h"
#include "sound/Oscillator.h"
#include "sound/SampleTrack.h"

namespace vornel {

class Instrument {
public:
    struct Settings {
        Oscillator::Waveform waveform = Oscillator::Waveform::Square;
        float brightnessHz = Oscillator::kCeilingHz;  // highest harmonic kept
        Envelope::Shape shape;
        float vibratoDepth = 0.0f;  // peak pitch swing as a fraction of the frequency
        float vibratoHz = 5.5f;
        float vibratoDelaySeconds = 0.15f;  // short notes stay steady
    };

    explicit Instrument(const Settings& settings);

    // One note of hz held for gateSeconds, including its release: the track runs until the
    // envelope is back at 0.
    SampleTrack play(float hz, float gateSeconds) const;
    // The samples play() gives for a note held gateSeconds.
    int32_t noteLength(float gateSeconds) const;

private:
    float vibratoAt(int32_t i) const;

    Settings m_settings;
};

}  // namespace vornel
