// The game's sounds measured as a listener would judge them: length, level, clean edges,
// nothing folded above the speaker's band, and each one's character; and the band-limited
// oscillator and envelope they are built from.
#include "sound/GameSounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sound/Envelope.h"
#include "sound/Oscillator.h"
#include "sound/WavWriter.h"

namespace vornel {
namespace {

constexpr int32_t kRate = SampleTrack::kSampleRate;

// Power at hz over samples from..to, as one bin of a discrete Fourier transform.
double powerAt(const SampleTrack& track, double hz, int32_t from, int32_t to) {
    double re = 0.0;
    double im = 0.0;
    for (int32_t i = from; i < to; ++i) {
        const double angle = 2.0 * std::numbers::pi * hz * i / kRate;
        re += track[i] * std::cos(angle);
        im += track[i] * std::sin(angle);
    }
    return (re * re + im * im) / ((to - from) * (to - from));
}

// Share of the energy that lies above hz, from spectra of 256-sample stretches.
double shareAbove(const SampleTrack& track, double hz) {
    constexpr int32_t window = 256;
    double above = 0.0;
    double all = 0.0;
    for (int32_t from = 0; from + window <= track.length(); from += window / 2) {
        for (int32_t bin = 1; bin < window / 2; ++bin) {
            const double binHz = static_cast<double>(bin) * kRate / window;
            const double power = powerAt(track, binHz, from, from + window);
            all += power;
            above += binHz > hz ? power : 0.0;
        }
    }
    return above / all;
}

double rmsOf(const SampleTrack& track, int32_t from, int32_t to) {
    double sum = 0.0;
    for (int32_t i = from; i < to; ++i) {
        sum += track[i] * track[i];
    }
    return std::sqrt(sum / (to - from));
}

// The strongest repeat period between 2 ms and 16 ms (500 Hz down to 62 Hz), as a pitch.
double pitchOf(const SampleTrack& track, int32_t from, int32_t to) {
    double bestScore = -1.0;
    int32_t bestLag = 1;
    for (int32_t lag = kRate / 500; lag <= kRate / 62; ++lag) {
        double score = 0.0;
        for (int32_t i = from; i + lag < to; ++i) {
            score += track[i] * track[i + lag];
        }
        score /= (to - from - lag);
        if (score > bestScore) {
            bestScore = score;
            bestLag = lag;
        }
    }
    return static_cast<double>(kRate) / bestLag;
}

struct Expected {
    const char* name;
    double shortestSeconds;
    double longestSeconds;
};

void PrintTo(const Expected& expected, std::ostream* out) {
    *out << expected.name;
}

class EverySound : public testing::TestWithParam<Expected> {
protected:
    SampleTrack sound() const {
        for (const GameSounds::Entry& entry : GameSounds::all()) {
            if (std::string(entry.name) == GetParam().name) {
                return entry.make();
            }
        }
        ADD_FAILURE() << "no sound named " << GetParam().name;
        return SampleTrack(1);
    }
};

TEST_P(EverySound, LastsAsLongAsItsMomentInTheGame) {
    const SampleTrack track = sound();
    EXPECT_GE(track.seconds(), GetParam().shortestSeconds);
    EXPECT_LE(track.seconds(), GetParam().longestSeconds);
}

TEST_P(EverySound, IsClearlyAudibleYetLeavesHeadroomForTheMixer) {
    const SampleTrack track = sound();
    EXPECT_GE(track.peak(), 0.3f);
    EXPECT_LE(track.peak(), 0.5001f);
    EXPECT_GE(track.rms(), 0.05f);
}

TEST_P(EverySound, StartsAndEndsInSilenceWithoutAClick) {
    const SampleTrack track = sound();
    const int32_t last = track.length() - 1;
    EXPECT_EQ(WavWriter::toPcm(track[0]), 0);
    EXPECT_EQ(WavWriter::toPcm(track[last]), 0);
    EXPECT_LT(std::fabs(track[1]), 0.1f);
    EXPECT_LT(std::fabs(track[last - 1]), 0.01f);
    EXPECT_LT(std::fabs(track[last - 2]), 0.01f);
}

TEST_P(EverySound, KeepsItsEnergyBelowTheSpeakersCeiling) {
    EXPECT_LT(shareAbove(sound(), 3600.0), 0.005);
}

TEST_P(EverySound, IsTheSameOnEveryBuild) {
    EXPECT_EQ(sound().samples(), sound().samples());
}

INSTANTIATE_TEST_SUITE_P(GameSounds, EverySound,
                         testing::Values(Expected{"bounce", 0.06, 0.09}, Expected{"hit", 0.07, 0.1},
                                         Expected{"gong", 0.8, 1.5}, Expected{"bad", 0.4, 0.7},
                                         Expected{"music5", 3.0, 6.0}),
                         [](const testing::TestParamInfo<Expected>& info) { return std::string(info.param.name); });

TEST(SynthSounds, AnyTwoSoundsMixWithoutOverflow) {
    // A sound never overlaps itself: playing it again restarts it.
    for (const GameSounds::Entry& a : GameSounds::all()) {
        for (const GameSounds::Entry& b : GameSounds::all()) {
            if (&a == &b) {
                continue;
            }
            const int32_t sum = WavWriter::toPcm(a.make().peak()) + WavWriter::toPcm(b.make().peak());
            EXPECT_LE(sum, 32767) << a.name << " + " << b.name;
        }
    }
}

TEST(SynthSounds, TheBatSoundsLowerThanTheTable) {
    // The table's tock centres near 1.2 kHz, the bat's blade near 640 Hz.
    const SampleTrack bounce = GameSounds::bounce();
    const SampleTrack hit = GameSounds::hit();
    const int32_t end = 480;
    EXPECT_GT(powerAt(bounce, 1180.0, 0, end), 4.0 * powerAt(bounce, 640.0, 0, end));
    EXPECT_GT(powerAt(hit, 640.0, 0, end), 4.0 * powerAt(hit, 1180.0, 0, end));
}

TEST(SynthSounds, TheGongDiesAway) {
    const SampleTrack gong = GameSounds::gong();
    const int32_t tenth = kRate / 10;
    const int32_t end = gong.length();
    EXPECT_LT(rmsOf(gong, end - tenth, end), 0.1 * rmsOf(gong, 0, tenth));
    EXPECT_GT(rmsOf(gong, end / 2, end / 2 + tenth), 0.1 * rmsOf(gong, 0, tenth));
}

TEST(SynthSounds, TheLosingBuzzFallsByMoreThanAnOctave) {
    const SampleTrack bad = GameSounds::bad();
    const int32_t tenth = kRate / 10;
    const double startHz = pitchOf(bad, 80, 80 + tenth);
    const double endHz = pitchOf(bad, bad.length() - tenth, bad.length());
    EXPECT_GT(startHz, 2.0 * endHz) << startHz << " Hz down to " << endHz << " Hz";
}

TEST(SynthSounds, ASquareWaveLeavesOutHarmonicsThatWouldFoldBack) {
    // At 1500 Hz the third harmonic (4500 Hz) would fold back to 3500 Hz; only the
    // fundamental fits under the ceiling.
    Oscillator square(Oscillator::Waveform::Square);
    SampleTrack track(800);
    for (int32_t i = 0; i < track.length(); ++i) {
        track[i] = square.next(1500.0f);
    }
    EXPECT_GT(powerAt(track, 1500.0, 0, 800), 0.3);
    EXPECT_LT(powerAt(track, 3500.0, 0, 800), 1e-6);
}

TEST(SynthSounds, ALowSquareWaveKeepsItsOddHarmonics) {
    Oscillator square(Oscillator::Waveform::Square);
    SampleTrack track(800);
    for (int32_t i = 0; i < track.length(); ++i) {
        track[i] = square.next(200.0f);
    }
    // A square wave's third harmonic is a third of its fundamental: a ninth of the power.
    const double ratio = powerAt(track, 600.0, 0, 800) / powerAt(track, 200.0, 0, 800);
    EXPECT_NEAR(ratio, 1.0 / 9.0, 0.01);
    EXPECT_LT(powerAt(track, 400.0, 0, 800), 1e-6);
}

TEST(SynthSounds, AnEnvelopeRisesHoldsAndReleasesToExactlyZero) {
    const Envelope envelope({.attackSeconds = 0.001f, .decaySeconds = 0.01f, .sustainLevel = 0.5f,
                             .releaseSeconds = 0.002f},
                            0.1f);
    EXPECT_EQ(envelope.length(), 800 + 16);
    EXPECT_EQ(envelope.at(0), 0.0f);
    EXPECT_NEAR(envelope.at(8), 1.0f, 1e-6f);
    EXPECT_NEAR(envelope.at(799), 0.5f, 1e-3f);
    EXPECT_EQ(envelope.at(816), 0.0f);
    EXPECT_EQ(envelope.at(-1), 0.0f);
    for (int32_t i = 0; i < envelope.length(); ++i) {
        ASSERT_GE(envelope.at(i), 0.0f) << i;
        ASSERT_LE(envelope.at(i), 1.0f) << i;
    }
}

}  // namespace
}  // namespace vornel
