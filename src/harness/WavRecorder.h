// Writes what the wave output plays into an 8000 Hz mono 16-bit WAV file with the canonical
// 44-byte header. The sizes in the header are brought up to date after every append, so the
// file stays readable however the process ends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "device/AudioTap.h"

namespace vornel {

class WavRecorder final : public AudioTap {
public:
    static constexpr uint32_t kSampleRate = 8000;
    static constexpr uint32_t kHeaderBytes = 44;

    WavRecorder() = default;
    WavRecorder(const WavRecorder&) = delete;
    WavRecorder& operator=(const WavRecorder&) = delete;
    ~WavRecorder() override;

    // Creates (or empties) the file; false with a one-line reason on failure.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return m_file != nullptr; }
    void appendSamples(const int16_t* samples, std::size_t count) override;
    void appendSilence(uint64_t count) override;
    // Samples written so far: the recording's length in 1/8000 s.
    uint64_t samplesWritten() const override { return m_samples; }
    void close();

private:
    void writeSamples(const int16_t* samples, std::size_t count);
    void writeHeader();

    std::FILE* m_file = nullptr;
    uint64_t m_samples = 0;
};

}  // namespace vornel
