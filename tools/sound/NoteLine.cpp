// A part of a tune: timing, pitch and mixing of its notes.
#include "sound/NoteLine.h"

#include <algorithm>
#include <cmath>

namespace vornel {

namespace {

constexpr int32_t kConcertAKey = 69;
constexpr float kConcertAHz = 440.0f;
constexpr float kKeysPerOctave = 12.0f;

}  // namespace

NoteLine::NoteLine(const Instrument& instrument, float gain, float gateFraction)
    : m_instrument(instrument), m_gain(gain), m_gateFraction(gateFraction) {}

float NoteLine::frequencyOf(int32_t key) {
    return kConcertAHz * std::exp2(static_cast<float>(key - kConcertAKey) / kKeysPerOctave);
}

void NoteLine::add(int32_t step, int32_t steps, int32_t key) {
    m_notes.push_back(Note{step, steps, key});
}

void NoteLine::add(const std::vector<Note>& notes) {
    m_notes.insert(m_notes.end(), notes.begin(), notes.end());
}

float NoteLine::gateSeconds(const Note& note, int32_t samplesPerStep) const {
    return static_cast<float>(SampleTrack::secondsOf(note.steps * samplesPerStep) * m_gateFraction);
}

int32_t NoteLine::length(int32_t samplesPerStep) const {
    int32_t end = 0;
    for (const Note& note : m_notes) {
        end = std::max(end, note.step * samplesPerStep + m_instrument.noteLength(gateSeconds(note, samplesPerStep)));
    }
    return end;
}

void NoteLine::renderInto(SampleTrack& track, int32_t samplesPerStep) const {
    for (const Note& note : m_notes) {
        const SampleTrack sound = m_instrument.play(frequencyOf(note.key), gateSeconds(note, samplesPerStep));
        track.mixIn(sound, note.step * samplesPerStep, m_gain);
    }
}

}  // namespace vornel
