// Writes a track as the game's sound files: the canonical 44-byte RIFF/WAVE header, then
// 8000 Hz mono 16-bit little-endian PCM.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/SampleTrack.h"

namespace vornel {

class WavWriter {
public:
    // The game's loader reads exactly these two fields of a fixed 44-byte header.
    static constexpr int32_t kHeaderBytes = 44;
    static constexpr int32_t kBitsOffset = 34;
    static constexpr int32_t kDataSizeOffset = 40;
    static constexpr int32_t kBitsPerSample = 16;
    static constexpr int32_t kBytesPerSample = kBitsPerSample / 8;

    // Full scale 1.0 maps to 32767; samples beyond ±1.0 are held at the 16-bit limits rather
    // than wrapped round to the other sign.
    static int16_t toPcm(float sample);
    // The whole file: header and samples.
    static std::vector<uint8_t> encode(const SampleTrack& track);
    // Writes the file at path; false with a one-line reason when it cannot be written.
    static bool write(const std::string& path, const SampleTrack& track, std::string& error);
};

}  // namespace vornel
