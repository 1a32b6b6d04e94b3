// Writing demo files: little-endian numbers, zigzag varints, one flushed chunk a frame.
#include "demo/DemoWriter.h"

#include <cerrno>
#include <cstring>

namespace vornel {
namespace {

void putU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void putString(std::vector<uint8_t>& out, const std::string& text) {
    out.push_back(static_cast<uint8_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

DemoWriter::~DemoWriter() {
    close();
}

bool DemoWriter::open(const std::string& path, const DemoHeader& header, std::string& error) {
    return openWith("wb", path, header, error);
}

bool DemoWriter::create(const std::string& path, const DemoHeader& header, std::string& error) {
    return openWith("wbx", path, header, error);  // O_EXCL: never through a link, never over a file
}

bool DemoWriter::openWith(const char* mode, const std::string& path, const DemoHeader& header, std::string& error) {
    close();
    if (header.gameVersion.size() > demo::kLongestString || header.profile.size() > demo::kLongestString ||
        header.settings.size() > demo::kLongestSettings) {
        error = "the demo's header is too long for the format";
        return false;
    }
    m_file = std::fopen(path.c_str(), mode);
    if (m_file == nullptr) {
        error = "cannot write the demo \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> bytes(std::begin(demo::kMagic), std::end(demo::kMagic));
    putU16(bytes, header.formatVersion);
    putString(bytes, header.gameVersion);
    putString(bytes, header.profile);
    putU32(bytes, header.seed);
    putU16(bytes, static_cast<uint32_t>(header.settings.size()));
    bytes.insert(bytes.end(), header.settings.begin(), header.settings.end());
    m_version = header.formatVersion;
    if (m_version >= 2) {
        putU32(bytes, static_cast<uint32_t>(header.recordedAt));
        putU32(bytes, static_cast<uint32_t>(header.recordedAt >> 32));
    }
    m_failed = std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size() || std::fflush(m_file) != 0;
    m_frame.clear();
    m_frames = 0;
    m_previous.fill(0);
    return true;
}

void DemoWriter::record(uint8_t kind, int32_t value) {
    if (m_file == nullptr || m_failed) {
        return;  // nothing more is written
    }
    kind %= demo::kKindLimit;
    const auto change = static_cast<int32_t>(static_cast<uint32_t>(value) - static_cast<uint32_t>(m_previous[kind]));
    m_previous[kind] = value;
    const uint32_t coded = demo::zigzag(change);
    if (coded < demo::kInlineLimit) {
        m_frame.push_back(static_cast<uint8_t>(kind << 3 | coded));
        return;
    }
    m_frame.push_back(static_cast<uint8_t>(kind << 3 | demo::kInlineLimit));
    demo::putVarint(m_frame, coded - demo::kInlineLimit);
}

void DemoWriter::endFrame() {
    if (m_file == nullptr || m_failed) {
        return;
    }
    writeChunk(demo::kFrameChunk, m_frame);
    m_frame.clear();
    ++m_frames;
}

void DemoWriter::recordGame(const DemoGame& game) {
    if (m_file == nullptr || m_failed || m_version < 2) {
        return;
    }
    std::vector<uint8_t> payload;
    demo::putVarint(payload, game.number);
    demo::putVarint(payload, game.firstFrame);
    demo::putVarint(payload, game.lastFrame);
    payload.push_back(game.hard ? 1 : 0);
    payload.push_back(game.playerPoints);
    payload.push_back(game.opponentPoints);
    payload.push_back(game.finished ? 1 : 0);
    writeChunk(demo::kGameChunk, payload);
}

bool DemoWriter::finish(uint32_t checksum, std::string& error) {
    if (m_file == nullptr) {
        error = "no demo is being recorded";
        return false;
    }
    std::vector<uint8_t> trailer;
    putU32(trailer, m_frames);
    putU32(trailer, checksum);
    if (!m_failed) {
        writeChunk(demo::kEndChunk, trailer);
    }
    m_failed = std::fclose(m_file) != 0 || m_failed;
    m_file = nullptr;
    if (m_failed) {
        error = "the demo could not be written whole (disk full?)";
    }
    return !m_failed;
}

// Type, length, payload and check go out in one write, then to the system, so that a kill
// between frames leaves whole chunks behind.
void DemoWriter::writeChunk(uint8_t type, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> chunk{type};
    demo::putVarint(chunk, static_cast<uint32_t>(payload.size()));
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    putU32(chunk, demo::crc32(payload.data(), payload.size()));
    if (std::fwrite(chunk.data(), 1, chunk.size(), m_file) != chunk.size() || std::fflush(m_file) != 0) {
        m_failed = true;
    }
}

void DemoWriter::close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

}  // namespace vornel
