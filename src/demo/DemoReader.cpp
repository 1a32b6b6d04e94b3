// Reading and checking demo files.
#include "demo/DemoReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace vornel {
namespace {

// A cursor over the file's bytes that answers false instead of reading past the end.
class Bytes {
public:
    Bytes(const std::vector<uint8_t>& bytes, std::size_t at) : m_bytes(bytes), m_at(at) {}

    bool u8(uint8_t& value) {
        if (m_at >= m_bytes.size()) {
            return false;
        }
        value = m_bytes[m_at++];
        return true;
    }
    bool u16(uint32_t& value) {
        uint8_t low = 0;
        uint8_t high = 0;
        if (!u8(low) || !u8(high)) {
            return false;
        }
        value = low | static_cast<uint32_t>(high) << 8;
        return true;
    }
    bool u32(uint32_t& value) {
        uint32_t low = 0;
        uint32_t high = 0;
        if (!u16(low) || !u16(high)) {
            return false;
        }
        value = low | high << 16;
        return true;
    }
    bool varint(uint32_t& value) {
        value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            uint8_t byte = 0;
            if (!u8(byte)) {
                return false;
            }
            value |= static_cast<uint32_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) {
                return true;
            }
        }
        return false;
    }
    bool skip(std::size_t count) {
        if (m_bytes.size() - m_at < count) {
            return false;
        }
        m_at += count;
        return true;
    }
    bool string(std::string& text, std::size_t length) {
        const std::size_t from = m_at;
        if (!skip(length)) {
            return false;
        }
        text.assign(m_bytes.begin() + static_cast<std::ptrdiff_t>(from), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at));
        return true;
    }
    std::size_t at() const { return m_at; }

private:
    const std::vector<uint8_t>& m_bytes;
    std::size_t m_at;
};

// The frame's records, each the change from the previous value of its kind; false when the
// payload is not whole records of known kinds.
bool decodeFrame(const std::vector<uint8_t>& bytes, std::size_t from, std::size_t to,
                 std::array<int32_t, demo::kKindLimit>& previous, std::vector<DemoRecord>& records) {
    const std::vector<uint8_t> payload(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(to));
    Bytes in(payload, 0);
    uint8_t head = 0;
    while (in.u8(head)) {
        const auto kind = static_cast<uint8_t>(head >> 3);
        uint32_t coded = head & 7u;
        if (kind == 0) {
            return false;
        }
        if (coded == demo::kInlineLimit) {
            uint32_t beyond = 0;
            if (!in.varint(beyond) || beyond > UINT32_MAX - demo::kInlineLimit) {
                return false;
            }
            coded += beyond;
        }
        previous[kind] = static_cast<int32_t>(static_cast<uint32_t>(previous[kind]) +
                                              static_cast<uint32_t>(demo::unzigzag(coded)));
        records.push_back({kind, previous[kind]});
    }
    return true;
}

}  // namespace

bool DemoReader::open(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot read the demo";
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!parse(bytes, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool DemoReader::parse(const std::vector<uint8_t>& bytes, std::string& error) {
    m_bytes = bytes;
    m_header = DemoHeader{};
    m_records.clear();
    m_frameStarts.clear();
    m_frameTicks.clear();
    m_games.clear();
    m_complete = false;
    m_incompleteReason.clear();
    m_storedChecksum = 0;
    std::size_t at = 0;
    if (!readHeader(at, error)) {
        return false;
    }
    readChunks(at);
    closeOpenGames();
    m_bytes = {};  // every frame is decoded
    return true;
}

bool DemoReader::readHeader(std::size_t& at, std::string& error) {
    if (m_bytes.size() < sizeof demo::kMagic || !std::equal(std::begin(demo::kMagic), std::end(demo::kMagic), m_bytes.begin())) {
        error = "not a demo file";
        return false;
    }
    Bytes in(m_bytes, sizeof demo::kMagic);
    uint32_t version = 0;
    if (!in.u16(version)) {
        error = "the demo's header is cut short";
        return false;
    }
    if (version < DemoHeader::kOldestFormatVersion || version > DemoHeader::kFormatVersion) {
        error = "a demo of format version " + std::to_string(version) + "; this program plays versions " +
                std::to_string(DemoHeader::kOldestFormatVersion) + " to " + std::to_string(DemoHeader::kFormatVersion);
        return false;
    }
    m_header.formatVersion = static_cast<uint16_t>(version);
    uint8_t length = 0;
    uint32_t settingsLength = 0;
    std::string settings;
    if (!in.u8(length) || !in.string(m_header.gameVersion, length) || !in.u8(length) ||
        !in.string(m_header.profile, length) || !in.u32(m_header.seed) || !in.u16(settingsLength) ||
        !in.string(settings, settingsLength)) {
        error = "the demo's header is cut short";
        return false;
    }
    m_header.settings.assign(settings.begin(), settings.end());
    uint32_t low = 0;
    uint32_t high = 0;
    if (version >= 2 && (!in.u32(low) || !in.u32(high))) {
        error = "the demo's header is cut short";
        return false;
    }
    m_header.recordedAt = static_cast<uint64_t>(high) << 32 | low;
    at = in.at();
    return true;
}

// Frames up to the trailer, or up to the first chunk that is cut short or fails its check.
void DemoReader::readChunks(std::size_t at) {
    Bytes in(m_bytes, at);
    std::array<int32_t, demo::kKindLimit> previous{};
    while (true) {
        const std::size_t chunk = in.at();
        uint8_t type = 0;
        uint32_t length = 0;
        if (!in.u8(type)) {
            stopAt(chunk, "the recording ends without its trailer (cut short)");
            return;
        }
        if (!in.varint(length)) {
            stopAt(chunk, "the recording is cut short in a frame");
            return;
        }
        const std::size_t payload = in.at();
        uint32_t check = 0;
        if (!in.skip(length) || !in.u32(check)) {
            stopAt(chunk, "the recording is cut short in a frame");
            return;
        }
        const bool known = type == demo::kFrameChunk || type == demo::kEndChunk ||
                           (type == demo::kGameChunk && m_header.formatVersion >= 2);
        if (demo::crc32(m_bytes.data() + payload, length) != check || !known) {
            stopAt(chunk, "the recording is damaged");
            return;
        }
        if (type == demo::kGameChunk) {
            if (!readGame(payload, length)) {
                stopAt(chunk, "the recording is damaged");
                return;
            }
            continue;
        }
        if (type == demo::kEndChunk) {
            readTrailer(chunk, payload, length, in.at());
            return;
        }
        std::vector<DemoRecord> records;
        if (!decodeFrame(m_bytes, payload, payload + length, previous, records)) {
            stopAt(chunk, "the recording is damaged");
            return;
        }
        m_frameStarts.push_back(m_records.size());
        m_records.insert(m_records.end(), records.begin(), records.end());
        m_frameTicks.push_back(static_cast<uint32_t>(previous[demo::kTicks]));
    }
}

// A game's entry: a later one of the same number replaces it; numbers go up by one.
bool DemoReader::readGame(std::size_t payload, uint32_t length) {
    const std::vector<uint8_t> bytes(m_bytes.begin() + static_cast<std::ptrdiff_t>(payload),
                                     m_bytes.begin() + static_cast<std::ptrdiff_t>(payload + length));
    Bytes in(bytes, 0);
    DemoGame game;
    uint8_t hard = 0;
    uint8_t finished = 0;
    if (!in.varint(game.number) || !in.varint(game.firstFrame) || !in.varint(game.lastFrame) || !in.u8(hard) ||
        !in.u8(game.playerPoints) || !in.u8(game.opponentPoints) || !in.u8(finished) || in.at() != bytes.size() ||
        game.number == 0 || game.number > m_games.size() + 1 || game.firstFrame > game.lastFrame) {
        return false;
    }
    game.hard = hard != 0;
    game.finished = finished != 0;
    if (game.number == m_games.size() + 1) {
        m_games.push_back(game);
    } else {
        m_games[game.number - 1] = game;
    }
    return true;
}

// An unfinished game was played on until the next began, or to the last frame there is; no
// game reaches past the frames the file keeps.
void DemoReader::closeOpenGames() {
    const uint32_t lastFrame = frameCount() == 0 ? 0 : static_cast<uint32_t>(frameCount() - 1);
    for (std::size_t i = 0; i < m_games.size(); ++i) {
        DemoGame& game = m_games[i];
        if (!game.finished) {
            game.lastFrame = i + 1 < m_games.size() ? m_games[i + 1].firstFrame - 1 : lastFrame;
        }
        game.lastFrame = std::min(game.lastFrame, lastFrame);
        game.firstFrame = std::min(game.firstFrame, game.lastFrame);
    }
}

void DemoReader::readTrailer(std::size_t chunk, std::size_t payload, uint32_t length, std::size_t end) {
    Bytes trailer(m_bytes, payload);
    uint32_t frames = 0;
    if (length != 8 || !trailer.u32(frames) || !trailer.u32(m_storedChecksum) || frames != frameCount()) {
        stopAt(chunk, "the recording's trailer does not match its frames");
        return;
    }
    m_complete = end == m_bytes.size();
    if (!m_complete) {
        m_incompleteReason = "bytes follow the recording's trailer";
    }
}

void DemoReader::stopAt(std::size_t chunk, const std::string& why) {
    m_complete = false;
    m_incompleteReason = why + " after frame " + std::to_string(frameCount()) + " (byte " + std::to_string(chunk) + ")";
}

uint32_t DemoReader::ticksAt(std::size_t i) const {
    if (m_frameTicks.empty()) {
        return 0;
    }
    return m_frameTicks[std::min(i, m_frameTicks.size() - 1)];
}

std::vector<DemoRecord> DemoReader::frame(std::size_t i) const {
    if (i >= frameCount()) {
        return {};
    }
    const std::size_t end = i + 1 < frameCount() ? m_frameStarts[i + 1] : m_records.size();
    return {m_records.begin() + static_cast<std::ptrdiff_t>(m_frameStarts[i]),
            m_records.begin() + static_cast<std::ptrdiff_t>(end)};
}

}  // namespace vornel
