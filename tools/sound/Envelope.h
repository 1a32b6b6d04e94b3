// The loudness of a note over time: a smooth attack, an exponential decay towards a sustain
// level while the note is held, and a smooth release to exactly 0 after it.
#pragma once

#include <cstdint>

namespace vornel {

class Envelope {
public:
    struct Shape {
        float attackSeconds = 0.002f;  // from 0 to full on half a cosine: no click
        float decaySeconds = 0.1f;     // time constant of the fall from full to sustain
        float sustainLevel = 0.0f;     // 0 for a struck sound that dies away by itself
        float releaseSeconds = 0.02f;  // from wherever the decay has got to down to 0
    };

    // A note held for gateSeconds, then released.
    Envelope(const Shape& shape, float gateSeconds);

    // The level at sample i from the note's start: 0 before it and from length() on.
    float at(int32_t i) const;
    // Samples from the start until the release has reached 0.
    int32_t length() const { return m_gate + m_release; }

private:
    float heldLevel(int32_t i) const;

    Shape m_shape;
    int32_t m_attack;   // samples
    int32_t m_gate;     // samples
    int32_t m_release;  // samples
};

}  // namespace vornel
