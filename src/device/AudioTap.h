// What hears every sample the device's speaker plays, silence included, from launch on (a
// recording of the sound into a file). The wave output calls it on its own thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornel {

class AudioTap {
public:
    virtual ~AudioTap() = default;

    virtual void appendSamples(const int16_t* samples, std::size_t count) = 0;
    virtual void appendSilence(uint64_t count) = 0;
    // Samples heard so far, in 1/8000 s.
    virtual uint64_t samplesWritten() const = 0;
};

}  // namespace vornel
