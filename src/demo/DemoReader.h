// Reads a demo file (demo/DemoFormat.h) whole and checks it. A foreign or damaged header, or
// one of a format version this program does not play, is refused with a one-line reason. A file cut short or
// damaged after the header keeps every frame before the first bad chunk; it is then not
// complete, and the reason says where it stopped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "demo/DemoFormat.h"
#include "demo/DemoGame.h"

namespace vornel {

class DemoReader final {
public:
    // Reads the file; false, with the reason in error, when it cannot be read or refused.
    bool open(const std::string& path, std::string& error);
    // The same for the file's bytes.
    bool parse(const std::vector<uint8_t>& bytes, std::string& error);

    const DemoHeader& header() const { return m_header; }
    std::size_t frameCount() const { return m_frameStarts.size(); }
    // The records of frame i (below frameCount()).
    std::vector<DemoRecord> frame(std::size_t i) const;
    // The device clock as the game last read it in frame i or before (0 before any read),
    // milliseconds; the last frame's for an i beyond.
    uint32_t ticksAt(std::size_t i) const;
    // Device time from the first frame to the last, milliseconds.
    uint32_t length() const { return frameCount() == 0 ? 0 : ticksAt(frameCount() - 1) - ticksAt(0); }
    // The games of the session in order, each as its last index entry before the first bad
    // chunk has it; a game left unfinished lasts until the next one begins or the frames end.
    const std::vector<DemoGame>& games() const { return m_games; }

    // Whether the trailer was there and agreed with the frames; otherwise why not.
    bool isComplete() const { return m_complete; }
    const std::string& incompleteReason() const { return m_incompleteReason; }
    // The checksum the recording stored at its end (with isComplete()).
    uint32_t storedChecksum() const { return m_storedChecksum; }

private:
    bool readHeader(std::size_t& at, std::string& error);
    void readChunks(std::size_t at);
    void readTrailer(std::size_t chunk, std::size_t payload, uint32_t length, std::size_t end);
    bool readGame(std::size_t payload, uint32_t length);
    void closeOpenGames();
    void stopAt(std::size_t chunk, const std::string& why);

    std::vector<uint8_t> m_bytes;
    DemoHeader m_header;
    std::vector<DemoRecord> m_records;       // every frame's records, values decoded
    std::vector<std::size_t> m_frameStarts;  // where each frame's records start in m_records
    std::vector<uint32_t> m_frameTicks;      // the clock's last read in or before each frame
    std::vector<DemoGame> m_games;
    bool m_complete = false;
    std::string m_incompleteReason;
    uint32_t m_storedChecksum = 0;
};

}  // namespace vornel
