// One part of a tune: notes on a grid of equal steps, all played by one instrument.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/Instrument.h"
#include "sound/SampleTrack.h"

namespace vornel {

class NoteLine {
public:
    // key is a piano key number in the MIDI convention: 60 is middle C, 69 is A at 440 Hz.
    struct Note {
        int32_t step;
        int32_t steps;
        int32_t key;
    };

    // gateFraction of each note's steps is held before the release, so that repeated
    // notes are heard as separate notes.
    NoteLine(const Instrument& instrument, float gain, float gateFraction);

    static float frequencyOf(int32_t key);

    void add(int32_t step, int32_t steps, int32_t key);
    void add(const std::vector<Note>& notes);

    // The samples needed for every note and its release at samplesPerStep.
    int32_t length(int32_t samplesPerStep) const;
    // Adds the notes into the track; whatever runs past its end is cut.
    void renderInto(SampleTrack& track, int32_t samplesPerStep) const;

private:
    float gateSeconds(const Note& note, int32_t samplesPerStep) const;

    Instrument m_instrument;
    float m_gain;
    float m_gateFraction;
    std::vector<Note> m_notes;
};

}  // namespace vornel
