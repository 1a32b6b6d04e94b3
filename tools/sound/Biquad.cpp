// Low-, band- and high-pass biquads, direct form I.
#include "sound/Biquad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sound/SampleTrack.h"

namespace vornel {

namespace {

constexpr float kLowestHz = 10.0f;
constexpr float kHighestHz = 3900.0f;  // just under the 4000 Hz Nyquist limit
constexpr float kLowestQ = 0.1f;

}  // namespace

Biquad Biquad::lowPass(float hz, float q) {
    Biquad filter;
    filter.setLowPass(hz, q);
    return filter;
}

Biquad Biquad::bandPass(float hz, float q) {
    Biquad filter;
    filter.setBandPass(hz, q);
    return filter;
}

Biquad Biquad::highPass(float hz, float q) {
    Biquad filter;
    filter.setHighPass(hz, q);
    return filter;
}

Biquad::Angle Biquad::angleOf(float hz, float q) {
    const float omega = 2.0f * std::numbers::pi_v<float> * std::clamp(hz, kLowestHz, kHighestHz) /
                        static_cast<float>(SampleTrack::kSampleRate);
    return Angle{std::cos(omega), std::sin(omega) / (2.0f * std::max(q, kLowestQ))};
}

void Biquad::setLowPass(float hz, float q) {
    const Angle w = angleOf(hz, q);
    const float side = (1.0f - w.cosine) / 2.0f;
    setNormalised(side, 1.0f - w.cosine, side, 1.0f + w.alpha, -2.0f * w.cosine, 1.0f - w.alpha);
}

void Biquad::setBandPass(float hz, float q) {
    const Angle w = angleOf(hz, q);
    setNormalised(w.alpha, 0.0f, -w.alpha, 1.0f + w.alpha, -2.0f * w.cosine, 1.0f - w.alpha);
}

void Biquad::setHighPass(float hz, float q) {
    const Angle w = angleOf(hz, q);
    const float side = (1.0f + w.cosine) / 2.0f;
    setNormalised(side, -1.0f - w.cosine, side, 1.0f + w.alpha, -2.0f * w.cosine, 1.0f - w.alpha);
}

void Biquad::setNormalised(float b0, float b1, float b2, float a0, float a1, float a2) {
    m_b0 = b0 / a0;
    m_b1 = b1 / a0;
    m_b2 = b2 / a0;
    m_a1 = a1 / a0;
    m_a2 = a2 / a0;
}

float Biquad::process(float x) {
    const float y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1;
    m_x1 = x;
    m_y2 = m_y1;
    m_y1 = y;
    return y;
}

}  // namespace vornel
