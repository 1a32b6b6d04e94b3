// One sound of the game, loaded once from its WAV file: 16-bit mono samples, the file's path
// as its key, and how far its current playing has got.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vornel {

class SoundClip final {
public:
    // The canonical RIFF/WAVE header that every sound file starts with.
    static constexpr uint32_t kHeaderBytes = 44;
    static constexpr uint32_t kBitsOffset = 34;      // bits per sample, 8 or 16
    static constexpr uint32_t kDataSizeOffset = 40;  // bytes of samples, little-endian 32-bit
    // Far beyond any sound of the game (over 17 minutes at 16000 bytes/s), far below what
    // would exhaust memory: a header that asks for more is cut to this.
    static constexpr uint32_t kMaxDataBytes = 16u << 20;

    explicit SoundClip(std::string path);
    ~SoundClip();
    SoundClip(const SoundClip&) = delete;
    SoundClip& operator=(const SoundClip&) = delete;

    // The clip of the WAV file at path. A missing or damaged file gives an empty clip (it
    // plays as silence) and one line on stderr naming the file; a header that promises more
    // samples than the file holds gives those that are there.
    static SoundClip* load(std::string path);

    // Takes a copy of length bytes of 16-bit little-endian samples, for sounds made in
    // memory. False, leaving the clip empty, when memory runs out.
    bool assignSamples(const uint8_t* bytes, uint32_t length);

    const std::string& path() const { return m_path; }
    uint32_t length() const { return m_length; }
    const uint8_t* samples() const { return m_samples; }

private:
    // The player reads and moves the playing state under its fill lock.
    friend class SoundPlayer;

    // The fault to report, or null; whatever was readable is in the clip either way.
    const char* readFile(std::FILE* file);
    bool allocateSamples(uint32_t length);
    void widenEightBitSamples(uint32_t count);

    // 16-bit signed little-endian mono samples, or null when there are none. The block is
    // rounded up to whole samples, so reading the sample that holds any byte is in bounds.
    uint8_t* m_samples = nullptr;
    std::string m_path;  // 8-bit file path; the key the player looks clips up by
    SoundClip* m_next = nullptr;
    uint8_t m_playing = 0;
    uint32_t m_cursor = 0;  // bytes into m_samples of the next chunk to play
    uint32_t m_length = 0;  // bytes of samples
};

}  // namespace vornel
