// A two-pole, two-zero filter with the low-pass, band-pass and high-pass responses of the
// well-known audio cookbook formulas; it can be retuned while running for sweeps.
#pragma once

namespace vornel {

class Biquad {
public:
    // q is the sharpness: 0.707 is flat for the low and high passes, higher rings at hz.
    static Biquad lowPass(float hz, float q);
    static Biquad bandPass(float hz, float q);  // 1 (0 dB) at hz, falling away either side
    static Biquad highPass(float hz, float q);

    // New coefficients, the same memory: a cutoff that moves a little every sample sweeps
    // smoothly rather than restarting the filter.
    void setLowPass(float hz, float q);
    void setBandPass(float hz, float q);
    void setHighPass(float hz, float q);

    float process(float x);

private:
    struct Angle {
        float cosine;
        float alpha;
    };
    // hz is held inside 10 Hz .. 3900 Hz so that every coefficient stays finite and stable.
    static Angle angleOf(float hz, float q);
    void setNormalised(float b0, float b1, float b2, float a0, float a1, float a2);

    float m_b0 = 1.0f;
    float m_b1 = 0.0f;
    float m_b2 = 0.0f;
    float m_a1 = 0.0f;
    float m_a2 = 0.0f;
    float m_x1 = 0.0f;  // the last two inputs and outputs
    float m_x2 = 0.0f;
    float m_y1 = 0.0f;
    float m_y2 = 0.0f;
};

}  // namespace vornel
