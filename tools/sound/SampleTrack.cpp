// A mono sound being made: mixing, levels and edge fades of float samples.
#include "sound/SampleTrack.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vornel {

namespace {

// 0 at step 0 rising smoothly to 1 at step steps: half a cosine, flat at both ends.
float raisedCosine(int32_t step, int32_t steps) {
    const double phase = std::numbers::pi * static_cast<double>(step) / static_cast<double>(steps);
    return static_cast<float>(0.5 - 0.5 * std::cos(phase));
}

}  // namespace

SampleTrack::SampleTrack(int32_t length) : m_samples(static_cast<std::size_t>(std::max(length, 0)), 0.0f) {}

int32_t SampleTrack::samplesIn(double seconds) {
    return static_cast<int32_t>(std::lround(seconds * kSampleRate));
}

void SampleTrack::mixIn(const SampleTrack& source, int32_t at, float gain) {
    const int32_t first = std::max(0, -at);
    const int32_t last = std::min(source.length(), length() - at);
    for (int32_t i = first; i < last; ++i) {
        (*this)[at + i] += source[i] * gain;
    }
}

void SampleTrack::scale(float gain) {
    for (float& sample : m_samples) {
        sample *= gain;
    }
}

void SampleTrack::normaliseTo(float target) {
    const float largest = peak();
    if (largest > 0.0f) {
        scale(target / largest);
    }
}

void SampleTrack::fadeIn(int32_t samples) {
    const int32_t steps = std::min(samples, length());
    for (int32_t i = 0; i < steps; ++i) {
        (*this)[i] *= raisedCosine(i, steps);
    }
}

void SampleTrack::fadeOut(int32_t samples) {
    const int32_t steps = std::min(samples, length());
    for (int32_t i = 0; i < steps; ++i) {
        (*this)[length() - 1 - i] *= raisedCosine(i, steps);
    }
}

float SampleTrack::peak() const {
    float largest = 0.0f;
    for (float sample : m_samples) {
        largest = std::max(largest, std::fabs(sample));
    }
    return largest;
}

float SampleTrack::rms() const {
    if (m_samples.empty()) {
        return 0.0f;
    }
    double sum = 0.0;
    for (float sample : m_samples) {
        sum += static_cast<double>(sample) * sample;
    }
    return static_cast<float>(std::sqrt(sum / static_cast<double>(m_samples.size())));
}

}  // namespace vornel
