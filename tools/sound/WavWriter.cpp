// The game's WAV format: a fixed 44-byte header and little-endian 16-bit samples.
#include "sound/WavWriter.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vornel {

namespace {

constexpr int32_t kChannels = 1;
constexpr int32_t kPcmFormat = 1;
constexpr int32_t kFormatChunkBytes = 16;
// The RIFF size counts everything after its own 8 bytes: "WAVE", the format chunk with its
// 8-byte head, and the data chunk's 8-byte head.
constexpr int32_t kRiffOverhead = kFormatChunkBytes + 20;

void putText(std::vector<uint8_t>& bytes, const char* text) {
    bytes.insert(bytes.end(), text, text + std::strlen(text));
}

void putLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int32_t byteCount) {
    for (int32_t i = 0; i < byteCount; ++i) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void putHeader(std::vector<uint8_t>& bytes, uint32_t dataBytes) {
    constexpr int32_t blockAlign = kChannels * WavWriter::kBytesPerSample;
    putText(bytes, "RIFF");
    putLittleEndian(bytes, dataBytes + kRiffOverhead, 4);
    putText(bytes, "WAVE");
    putText(bytes, "fmt ");
    putLittleEndian(bytes, kFormatChunkBytes, 4);
    putLittleEndian(bytes, kPcmFormat, 2);
    putLittleEndian(bytes, kChannels, 2);
    putLittleEndian(bytes, SampleTrack::kSampleRate, 4);
    putLittleEndian(bytes, SampleTrack::kSampleRate * blockAlign, 4);
    putLittleEndian(bytes, blockAlign, 2);
    putLittleEndian(bytes, WavWriter::kBitsPerSample, 2);
    putText(bytes, "data");
    putLittleEndian(bytes, dataBytes, 4);
}

}  // namespace

int16_t WavWriter::toPcm(float sample) {
    if (std::isnan(sample)) {
        return 0;
    }
    const float scaled = std::round(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
    return static_cast<int16_t>(scaled);
}

std::vector<uint8_t> WavWriter::encode(const SampleTrack& track) {
    const auto dataBytes = static_cast<uint32_t>(track.length()) * kBytesPerSample;
    std::vector<uint8_t> bytes;
    bytes.reserve(kHeaderBytes + dataBytes);
    putHeader(bytes, dataBytes);
    for (float sample : track.samples()) {
        putLittleEndian(bytes, static_cast<uint16_t>(toPcm(sample)), kBytesPerSample);
    }
    return bytes;
}

bool WavWriter::write(const std::string& path, const SampleTrack& track, std::string& error) {
    const std::vector<uint8_t> bytes = encode(track);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace vornel
