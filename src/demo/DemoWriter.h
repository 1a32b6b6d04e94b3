// Writes a demo file (core/DemoFormat.h): the header at once, then a frame at a time, each
// flushed to the file as soon as it ends, and the trailer when the recording finishes.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "demo/DemoFormat.h"
#include "demo/DemoGame.h"

namespace vornel {

class DemoWriter final {
public:
    DemoWriter() = default;
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;
    // A recording never finished keeps its complete frames; only the trailer is missing.
    ~DemoWriter();

    // Creates (or replaces) the file and writes the header. False, with a one-line reason in
    // error, when the file cannot be written or the header does not fit the format.
    bool open(const std::string& path, const DemoHeader& header, std::string& error);
    // The same, for a file that must not exist yet: an existing file, or a link of that name,
    // is left alone and refused.
    bool create(const std::string& path, const DemoHeader& header, std::string& error);
    bool isOpen() const { return m_file != nullptr; }

    // Adds a record to the frame being recorded (kinds 1 to 31).
    void record(uint8_t kind, int32_t value);
    // Writes the frame's chunk and flushes it; a frame without records is written too, since
    // playback counts frames.
    void endFrame();
    // Writes a chunk with the game's index entry as it stands (a file of version 2 or later).
    void recordGame(const DemoGame& game);
    // Writes the trailer with the frame count and the checksum and closes the file; false
    // when a write failed on the way (the error says which).
    bool finish(uint32_t checksum, std::string& error);

    uint32_t frameCount() const { return m_frames; }
    // Whether a write has failed: from then on nothing more is written (the file keeps its
    // whole frames and plays back up to there).
    bool hasFailed() const { return m_failed; }

private:
    bool openWith(const char* mode, const std::string& path, const DemoHeader& header, std::string& error);
    void writeChunk(uint8_t type, const std::vector<uint8_t>& payload);
    void close();

    std::FILE* m_file = nullptr;
    std::vector<uint8_t> m_frame;
    std::array<int32_t, demo::kKindLimit> m_previous{};  // the last value of each kind
    uint32_t m_frames = 0;
    uint16_t m_version = DemoHeader::kFormatVersion;
    bool m_failed = false;
};

}  // namespace vornel
