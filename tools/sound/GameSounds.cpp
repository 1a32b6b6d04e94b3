// The game's five sounds. Everything lies below 3.5 kHz (the speaker and the 8000 Hz rate
// pass nothing higher), every sound starts and ends at 0, and each is scaled to its peak.
#include "sound/GameSounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sound/Biquad.h"
#include "sound/Envelope.h"
#include "sound/NoiseBurst.h"
#include "sound/NoteLine.h"
#include "sound/Oscillator.h"
#include "sound/StruckBody.h"

namespace vornel {

namespace {

using Waveform = Oscillator::Waveform;

// Half a millisecond of fade at the start guarantees a first sample of exactly 0 whatever a
// sound begins with; the end fades are chosen per sound.
constexpr float kStartFadeSeconds = 0.0005f;

int32_t samplesIn(float seconds) {
    return SampleTrack::samplesIn(seconds);
}

SampleTrack finish(SampleTrack track, float endFadeSeconds, float peak) {
    track.fadeIn(samplesIn(kStartFadeSeconds));
    track.fadeOut(samplesIn(endFadeSeconds));
    track.normaliseTo(peak);
    return track;
}

// A click of noise that is over in a few milliseconds: the instant of contact.
NoiseBurst contactClick(float hz, float q, float decaySeconds, uint32_t seed) {
    const Envelope::Shape shape{.attackSeconds = 0.0004f, .decaySeconds = decaySeconds, .sustainLevel = 0.0f,
                                .releaseSeconds = 0.004f};
    return NoiseBurst(hz, q, Envelope(shape, 6.0f * decaySeconds), seed);
}

// The losing buzz.

constexpr float kBadSeconds = 0.55f;
constexpr float kBadStartHz = 300.0f;
constexpr float kBadEndHz = 95.0f;  // an octave and a half below the start
constexpr float kBuzzDetune = 1.007f;  // the second sawtooth beats against the first
constexpr float kWobbleDepth = 0.012f;  // a slight 7 Hz waver of the pitch, like a groan
constexpr float kWobbleHz = 7.0f;
constexpr float kFilterQ = 3.0f;  // a resonant, vowel-like peak at the cutoff

// The pitch falls quickly at first and then lingers at the bottom, like a sigh.
float badPitch(float progress) {
    return kBadStartHz * std::pow(kBadEndHz / kBadStartHz, std::pow(progress, 0.85f));
}

// The filter opens over the first 70 ms ("bw-") and closes again to the end ("-ow").
float badCutoff(float seconds) {
    constexpr float openSeconds = 0.07f;
    if (seconds < openSeconds) {
        const float rise = 0.5f - 0.5f * std::cos(std::numbers::pi_v<float> * seconds / openSeconds);
        return 400.0f + 1200.0f * rise;
    }
    return 300.0f + 1300.0f * std::exp(-(seconds - openSeconds) / 0.15f);
}

// The jingle.

// Eighth notes at 192 beats a minute: 1250 samples, 156 ms.
constexpr int32_t kStepSamples = 1250;
constexpr int32_t kFinalStep = 28;

// Piano keys (60 is middle C).
enum Key : int32_t {
    F2 = 41, G2 = 43, A2 = 45, C3 = 48, D3 = 50, E3 = 52,
    C5 = 72, D5 = 74, E5 = 76, F5 = 77, G5 = 79, A5 = 81, B5 = 83, C6 = 84, D6 = 86, E6 = 88,
};

// Four bars in C: up the tonic chord and back, the same figure over F and G, higher over C
// and A minor, and a climb through F and G home to a held C with a chord under it.
const std::vector<NoteLine::Note> kTune = {
    {0, 1, C5}, {1, 1, E5}, {2, 1, G5}, {3, 1, C6}, {4, 1, B5}, {5, 1, G5}, {6, 2, E5},
    {8, 1, A5}, {9, 1, F5}, {10, 1, A5}, {11, 1, C6}, {12, 1, B5}, {13, 1, G5}, {14, 2, D5},
    {16, 1, E5}, {17, 1, G5}, {18, 1, C6}, {19, 1, E6}, {20, 1, D6}, {21, 1, C6}, {22, 2, A5},
    {24, 1, F5}, {25, 1, A5}, {26, 1, G5}, {27, 1, B5},
};

// Root and fifth on the beats, walking from chord to chord.
const std::vector<NoteLine::Note> kBass = {
    {0, 2, C3}, {2, 2, G2}, {4, 2, C3}, {6, 2, G2},
    {8, 2, F2}, {10, 2, C3}, {12, 2, G2}, {14, 2, D3},
    {16, 2, C3}, {18, 2, G2}, {20, 2, A2}, {22, 2, E3},
    {24, 2, F2}, {26, 2, G2},
};

const std::vector<NoteLine::Note> kFinalChord = {{kFinalStep, 4, C6}, {kFinalStep, 4, G5}, {kFinalStep, 4, E5}};

NoteLine leadLine() {
    const Instrument lead({.waveform = Waveform::QuarterPulse,
                           .shape = {.attackSeconds = 0.004f, .decaySeconds = 0.12f, .sustainLevel = 0.55f,
                                     .releaseSeconds = 0.04f}});
    NoteLine line(lead, 0.5f, 0.8f);
    line.add(kTune);
    return line;
}

NoteLine bassLine() {
    const Instrument bass({.waveform = Waveform::Square,
                           .brightnessHz = 1400.0f,
                           .shape = {.attackSeconds = 0.004f, .decaySeconds = 0.2f, .sustainLevel = 0.6f,
                                     .releaseSeconds = 0.04f}});
    NoteLine line(bass, 0.45f, 0.85f);
    line.add(kBass);
    line.add(kFinalStep, 4, C3);
    return line;
}

// The last chord rings on and fades rather than stopping: a bright pulse on top, softer
// triangles under it, with a gentle vibrato.
NoteLine finalChordLine() {
    const Instrument ring({.waveform = Waveform::Triangle,
                           .shape = {.attackSeconds = 0.004f, .decaySeconds = 0.5f, .sustainLevel = 0.0f,
                                     .releaseSeconds = 0.3f},
                           .vibratoDepth = 0.006f});
    NoteLine line(ring, 0.22f, 1.0f);
    line.add(kFinalChord);
    return line;
}

NoteLine finalTopLine() {
    const Instrument ring({.waveform = Waveform::QuarterPulse,
                           .shape = {.attackSeconds = 0.004f, .decaySeconds = 0.4f, .sustainLevel = 0.0f,
                                     .releaseSeconds = 0.3f},
                           .vibratoDepth = 0.006f});
    NoteLine line(ring, 0.4f, 1.0f);
    line.add(kFinalStep, 4, C6);
    return line;
}

// A rally under the tune: the table's tock on the first and third beats, the bat's on the
// second and fourth, quietly.
void addRally(SampleTrack& track) {
    const SampleTrack table = GameSounds::bounce();
    const SampleTrack bat = GameSounds::hit();
    for (int32_t step = 0; step < kFinalStep; step += 2) {
        const bool onTable = step % 4 == 0;
        track.mixIn(onTable ? table : bat, step * kStepSamples, 0.3f);
    }
}

}  // namespace

SampleTrack GameSounds::bounce() {
    const int32_t length = samplesIn(0.075f);
    // The thin shell rings in a hollow, wood-block-like cluster around 1.2 kHz that is gone
    // within some 30 ms; the table top under it gives a soft, slightly longer low thump.
    const StruckBody shell({{1180.0f, 1.0f, 0.012f}, {1730.0f, 0.55f, 0.008f}, {2650.0f, 0.3f, 0.005f}}, 0.0006f);
    const StruckBody table({{240.0f, 0.45f, 0.016f}, {410.0f, 0.2f, 0.01f}}, 0.002f);
    SampleTrack track(length);
    track.mixIn(shell.strike(length), 0);
    track.mixIn(table.strike(length), 0);
    track.mixIn(contactClick(2400.0f, 1.0f, 0.0025f, 0xB0C4u).render(length), 0, 0.8f);
    return finish(track, 0.02f, kBouncePeak);
}

SampleTrack GameSounds::hit() {
    // The blade answers a few milliseconds after the rubber: the "tick" and the "tock".
    constexpr float bladeDelaySeconds = 0.007f;
    const int32_t length = samplesIn(0.09f);
    // The rubber's tick is brighter and harder than the table's...
    const StruckBody snap({{2900.0f, 0.9f, 0.004f}, {1180.0f, 0.3f, 0.006f}}, 0.0003f);
    // ...and the wooden blade rings lower and longer than the ball's shell.
    const StruckBody blade({{640.0f, 1.0f, 0.016f}, {1370.0f, 0.45f, 0.012f}, {2150.0f, 0.25f, 0.007f}}, 0.002f);
    SampleTrack track(length);
    track.mixIn(contactClick(2700.0f, 0.9f, 0.0015f, 0x417Bu).render(length), 0, 2.5f);
    track.mixIn(snap.strike(length), 0);
    track.mixIn(blade.strike(length), samplesIn(bladeDelaySeconds), 0.7f);
    return finish(track, 0.02f, kHitPeak);
}

SampleTrack GameSounds::gong() {
    const int32_t length = samplesIn(1.2f);
    // A bell's partials: a hum an octave below, the fundamental with a twin 2 Hz above it
    // (the slow shimmer of a real bell), the octave, and a few stretched upper partials that
    // give the metal its edge and die first.
    constexpr float f = 660.0f;
    const StruckBody bell({{0.5f * f, 0.3f, 0.5f},
                           {f, 1.0f, 0.4f},
                           {f + 2.2f, 0.3f, 0.38f},
                           {2.0f * f, 0.4f, 0.22f},
                           {2.52f * f, 0.25f, 0.14f},
                           {3.01f * f, 0.2f, 0.11f},
                           {4.16f * f, 0.12f, 0.06f}},
                          0.0015f);
    SampleTrack track = bell.strike(length);
    track.mixIn(contactClick(1800.0f, 0.7f, 0.004f, 0x60A6u).render(length), 0, 0.15f);
    return finish(track, 0.3f, kGongPeak);
}

SampleTrack GameSounds::bad() {
    // Two detuned sawtooths for a buzz, gliding down under a resonant low-pass whose sweep
    // makes the "bwow".
    const int32_t length = samplesIn(kBadSeconds);
    constexpr float releaseSeconds = 0.06f;
    const Envelope envelope({.attackSeconds = 0.006f, .decaySeconds = 0.35f, .sustainLevel = 0.5f,
                             .releaseSeconds = releaseSeconds},
                            kBadSeconds - releaseSeconds);
    Oscillator low(Waveform::Sawtooth);
    Oscillator high(Waveform::Sawtooth);
    Biquad filter = Biquad::lowPass(badCutoff(0.0f), kFilterQ);
    SampleTrack track(length);
    for (int32_t i = 0; i < length; ++i) {
        const auto seconds = static_cast<float>(SampleTrack::secondsOf(i));
        const float wobble = 1.0f + kWobbleDepth * std::sin(2.0f * std::numbers::pi_v<float> * kWobbleHz * seconds);
        const float hz = badPitch(static_cast<float>(i) / static_cast<float>(length)) * wobble;
        filter.setLowPass(badCutoff(seconds), kFilterQ);
        const float buzz = low.next(hz) + high.next(hz * kBuzzDetune);
        track[i] = filter.process(buzz) * envelope.at(i);
    }
    return finish(track, 0.01f, kBadPeak);
}

SampleTrack GameSounds::music5() {
    const std::vector<NoteLine> lines = {leadLine(), bassLine(), finalChordLine(), finalTopLine()};
    int32_t length = 0;
    for (const NoteLine& line : lines) {
        length = std::max(length, line.length(kStepSamples));
    }
    SampleTrack track(length);
    for (const NoteLine& line : lines) {
        line.renderInto(track, kStepSamples);
    }
    addRally(track);
    return finish(track, 0.01f, kMusicPeak);
}

const std::array<GameSounds::Entry, 5>& GameSounds::all() {
    static const std::array<Entry, 5> entries = {{
        {"bounce", &GameSounds::bounce},
        {"hit", &GameSounds::hit},
        {"gong", &GameSounds::gong},
        {"bad", &GameSounds::bad},
        {"music5", &GameSounds::music5},
    }};
    return entries;
}

}  // namespace vornel
