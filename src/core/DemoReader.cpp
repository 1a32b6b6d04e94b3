// Reading and checking demo files.
#include "core/DemoReader.h"

#include <algorithm>
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

// One record from the frame's payload: a kind and a zigzag varint of at most five bytes.
bool readRecord(Bytes& in, DemoRecord& record) {
    if (!in.u8(record.kind)) {
        return false;
    }
    uint32_t zigzag = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        uint8_t byte = 0;
        if (!in.u8(byte)) {
            return false;
        }
        zigzag |= static_cast<uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            record.value = static_cast<int32_t>((zigzag >> 1) ^ (0u - (zigzag & 1)));
            return true;
        }
    }
    return false;
}

// Whether the payload is whole records, no byte left over.
bool holdsWholeRecords(const std::vector<uint8_t>& bytes, std::size_t from, std::size_t to) {
    const std::vector<uint8_t> payload(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(to));
    Bytes in(payload, 0);
    DemoRecord record;
    while (in.at() < payload.size()) {
        if (!readRecord(in, record)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool DemoReader::open(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read the demo \"" + path + "\"";
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!parse(bytes, error)) {
        error = "\"" + path + "\": " + error;
        return false;
    }
    return true;
}

bool DemoReader::parse(const std::vector<uint8_t>& bytes, std::string& error) {
    m_bytes = bytes;
    m_header = DemoHeader{};
    m_frameStarts.clear();
    m_frameEnds.clear();
    m_complete = false;
    m_incompleteReason.clear();
    m_storedChecksum = 0;
    std::size_t at = 0;
    if (!readHeader(at, error)) {
        return false;
    }
    readChunks(at);
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
    if (version != DemoHeader::kFormatVersion) {
        error = "a demo of format version " + std::to_string(version) + "; this program plays version " +
                std::to_string(DemoHeader::kFormatVersion);
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
    at = in.at();
    return true;
}

// Frames up to the trailer, or up to the first chunk that is cut short or fails its check.
void DemoReader::readChunks(std::size_t at) {
    Bytes in(m_bytes, at);
    while (true) {
        const std::size_t chunk = in.at();
        uint8_t type = 0;
        uint32_t length = 0;
        if (!in.u8(type)) {
            stopAt(chunk, "the recording ends without its trailer (cut short)");
            return;
        }
        const std::size_t payload = chunk + 5;
        uint32_t check = 0;
        if (!in.u32(length) || !in.skip(length) || !in.u32(check)) {
            stopAt(chunk, "the recording is cut short in a frame");
            return;
        }
        if (demo::crc32(m_bytes.data() + payload, length) != check ||
            (type != demo::kFrameChunk && type != demo::kEndChunk)) {
            stopAt(chunk, "the recording is damaged");
            return;
        }
        if (type == demo::kEndChunk) {
            Bytes trailer(m_bytes, payload);
            uint32_t frames = 0;
            if (length != 8 || !trailer.u32(frames) || !trailer.u32(m_storedChecksum) || frames != frameCount()) {
                stopAt(chunk, "the recording's trailer does not match its frames");
                return;
            }
            m_complete = in.at() == m_bytes.size();
            if (!m_complete) {
                m_incompleteReason = "bytes follow the recording's trailer";
            }
            return;
        }
        if (!holdsWholeRecords(m_bytes, payload, payload + length)) {
            stopAt(chunk, "the recording is damaged");
            return;
        }
        m_frameStarts.push_back(payload);
        m_frameEnds.push_back(payload + length);
    }
}

void DemoReader::stopAt(std::size_t chunk, const std::string& why) {
    m_complete = false;
    m_incompleteReason = why + " after frame " + std::to_string(frameCount()) + " (byte " + std::to_string(chunk) + ")";
}

std::vector<DemoRecord> DemoReader::frame(std::size_t i) const {
    std::vector<DemoRecord> records;
    if (i >= frameCount()) {
        return records;
    }
    const std::vector<uint8_t> payload(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_frameStarts[i]),
                                       m_bytes.begin() + static_cast<std::ptrdiff_t>(m_frameEnds[i]));
    Bytes in(payload, 0);
    DemoRecord record;
    while (in.at() < payload.size() && readRecord(in, record)) {
        records.push_back(record);
    }
    return records;
}

}  // namespace vornel
