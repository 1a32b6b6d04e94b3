// The WAV file of a recording.
#include "harness/WavRecorder.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace vornel {
namespace {

void putLittleEndian(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

WavRecorder::~WavRecorder() {
    close();
}

bool WavRecorder::open(const std::string& path, std::string& error) {
    close();
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    m_samples = 0;
    writeHeader();
    return true;
}

void WavRecorder::appendSamples(const int16_t* samples, std::size_t count) {
    if (m_file == nullptr || count == 0) {
        return;
    }
    writeSamples(samples, count);
    writeHeader();
}

void WavRecorder::appendSilence(uint64_t count) {
    static const std::array<int16_t, 4096> kSilence{};
    if (m_file == nullptr || count == 0) {
        return;
    }
    while (count > 0) {
        const std::size_t part = static_cast<std::size_t>(std::min<uint64_t>(count, kSilence.size()));
        writeSamples(kSilence.data(), part);
        count -= part;
    }
    writeHeader();
}

void WavRecorder::writeSamples(const int16_t* samples, std::size_t count) {
    std::vector<uint8_t> bytes(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        putLittleEndian(&bytes[i * 2], static_cast<uint16_t>(samples[i]), 2);
    }
    std::fseek(m_file, 0, SEEK_END);
    std::fwrite(bytes.data(), 1, bytes.size(), m_file);
    m_samples += count;
}

void WavRecorder::close() {
    if (m_file != nullptr) {
        writeHeader();
        std::fclose(m_file);
        m_file = nullptr;
    }
}

// RIFF header of PCM, 1 channel, 8000 samples/s, 16 bits; sizes saturate at 4 GB.
void WavRecorder::writeHeader() {
    const uint32_t dataBytes = static_cast<uint32_t>(std::min<uint64_t>(m_samples * 2, 0xFFFFFFFFu - 36));
    std::array<uint8_t, kHeaderBytes> header{};
    std::memcpy(&header[0], "RIFF", 4);
    putLittleEndian(&header[4], 36 + dataBytes, 4);
    std::memcpy(&header[8], "WAVEfmt ", 8);
    putLittleEndian(&header[16], 16, 4);              // format chunk size
    putLittleEndian(&header[20], 1, 2);               // PCM
    putLittleEndian(&header[22], 1, 2);               // channels
    putLittleEndian(&header[24], kSampleRate, 4);
    putLittleEndian(&header[28], kSampleRate * 2, 4); // bytes per second
    putLittleEndian(&header[32], 2, 2);               // block alignment
    putLittleEndian(&header[34], 16, 2);              // bits per sample
    std::memcpy(&header[36], "data", 4);
    putLittleEndian(&header[40], dataBytes, 4);
    std::fseek(m_file, 0, SEEK_SET);
    std::fwrite(header.data(), 1, header.size(), m_file);
    std::fflush(m_file);
}

}  // namespace vornel
