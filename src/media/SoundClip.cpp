// Loading a sound clip from its WAV file, with every size the file claims checked against
// what it really holds.
#include "media/SoundClip.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/Allocator.h"

namespace vornel {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

uint32_t littleEndian32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

// Bytes between the end of the header and the end of the file (the read position is left
// just after the header); 0 when the file cannot tell its size.
uint32_t bytesAfterHeader(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const long end = std::ftell(file);
    if (std::fseek(file, SoundClip::kHeaderBytes, SEEK_SET) != 0 || end < long{SoundClip::kHeaderBytes}) {
        return 0;
    }
    // Capped only so that it fits in 32 bits; no sound is read beyond kMaxDataBytes anyway.
    return static_cast<uint32_t>(std::min<long>(end - long{SoundClip::kHeaderBytes}, SoundClip::kMaxDataBytes));
}

// The bytes of samples worth reading: what the header claims, cut to what any sound could
// need, to what the file really holds and to whole samples. fault names the last cut made.
uint32_t usableDataBytes(uint32_t claimed, uint32_t bytesPerSample, std::FILE* file, const char*& fault) {
    uint32_t bytes = claimed;
    if (bytes > SoundClip::kMaxDataBytes) {
        bytes = SoundClip::kMaxDataBytes;
        fault = "claims more samples than any sound has";
    }
    const uint32_t present = bytesAfterHeader(file);
    if (bytes > present) {
        bytes = present;
        fault = "holds fewer samples than its header says";
    }
    if (bytes % bytesPerSample != 0) {
        bytes -= bytes % bytesPerSample;
        fault = "ends in half a sample";
    }
    return bytes;
}

}  // namespace

SoundClip::SoundClip(std::string path) : m_path(std::move(path)) {}

SoundClip::~SoundClip() {
    Allocator::release(m_samples);
}

SoundClip* SoundClip::load(std::string path) {
    auto* clip = new SoundClip(std::move(path));
    const FileHandle file(std::fopen(clip->m_path.c_str(), "rb"));
    const char* fault = file ? clip->readFile(file.get()) : "cannot be opened";
    if (fault != nullptr) {
        std::fprintf(stderr, "vornel: sound file %s %s\n", clip->m_path.c_str(), fault);
    }
    return clip;
}

const char* SoundClip::readFile(std::FILE* file) {
    uint8_t header[kHeaderBytes];
    if (std::fread(header, 1, kHeaderBytes, file) != kHeaderBytes) {
        return "is shorter than its 44-byte header";
    }
    const uint8_t bits = header[kBitsOffset];
    if (bits != 8 && bits != 16) {
        return "has neither 8- nor 16-bit samples";
    }
    const uint32_t bytesPerSample = bits / 8u;
    const char* fault = nullptr;
    const uint32_t dataBytes = usableDataBytes(littleEndian32(header + kDataSizeOffset), bytesPerSample, file, fault);
    if (dataBytes == 0) {
        return fault;
    }
    if (!allocateSamples(dataBytes * 2 / bytesPerSample)) {
        return "does not fit in memory";
    }
    const std::size_t read = std::fread(m_samples, 1, dataBytes, file);
    if (read < dataBytes) {
        fault = "could not be read whole";
    }
    const auto wholeBytes = static_cast<uint32_t>(read - read % bytesPerSample);
    m_length = wholeBytes * 2 / bytesPerSample;
    if (bits == 8) {
        widenEightBitSamples(wholeBytes);
    }
    return fault;
}

bool SoundClip::allocateSamples(uint32_t length) {
    Allocator::release(m_samples);
    m_length = 0;
    m_samples = static_cast<uint8_t*>(Allocator::allocate(length + length % 2));
    return m_samples != nullptr;
}

// In place, from the last sample down, so that no byte is overwritten before it is read:
// unsigned 8-bit sample b becomes the 16-bit sample (b - 128) * 256.
void SoundClip::widenEightBitSamples(uint32_t count) {
    for (uint32_t i = count; i-- > 0;) {
        const uint8_t centred = m_samples[i] ^ 0x80;
        m_samples[2 * i + 1] = centred;
        m_samples[2 * i] = 0;
    }
}

bool SoundClip::assignSamples(const uint8_t* bytes, uint32_t length) {
    if (!allocateSamples(length)) {
        return false;
    }
    if (length != 0) {
        std::memcpy(m_samples, bytes, length);
    }
    m_length = length;
    return true;
}

}  // namespace vornel
