// A mono sound being made: float samples at the game's 8000 Hz, full scale ±1.0.
#pragma once

#include <cstdint>
#include <vector>

namespace vornel {

class SampleTrack {
public:
    static constexpr int32_t kSampleRate = 8000;  // samples per second, the game's only rate

    SampleTrack() = default;
    // length samples of silence; a negative length gives the empty track.
    explicit SampleTrack(int32_t length);

    // The number of whole samples in the given time, rounded to the nearest.
    static int32_t samplesIn(double seconds);
    static double secondsOf(int32_t samples) { return static_cast<double>(samples) / kSampleRate; }

    int32_t length() const { return static_cast<int32_t>(m_samples.size()); }
    double seconds() const { return secondsOf(length()); }
    // The caller keeps i inside the track.
    float operator[](int32_t i) const { return m_samples[static_cast<std::size_t>(i)]; }
    float& operator[](int32_t i) { return m_samples[static_cast<std::size_t>(i)]; }
    const std::vector<float>& samples() const { return m_samples; }

    // Adds sample i of source × gain to sample at + i of this track, for the samples that
    // land inside it: a source that runs past either end is cut, never written out of bounds.
    void mixIn(const SampleTrack& source, int32_t at, float gain = 1.0f);
    void scale(float gain);
    // Scales the track so that its largest magnitude is peak (a silent track stays silent).
    void normaliseTo(float peak);
    // Raised-cosine fades over the first or last samples, so the track starts or ends at
    // exactly 0 without a step the ear hears as a click.
    void fadeIn(int32_t samples);
    void fadeOut(int32_t samples);

    float peak() const;
    float rms() const;

private:
    std::vector<float> m_samples;
};

}  // namespace vornel
