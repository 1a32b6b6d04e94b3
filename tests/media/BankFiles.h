// Hand-made picture banks for tests: records of run-length pictures, the header, and the
// split into files of 32768 bytes in a temporary program folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>
#include <optional>

#include "core/ProgramFolder.h"
#include "core/RunContext.h"

namespace vornel::test {

using Bytes = std::vector<uint8_t>;

inline void appendVarInt(Bytes& out, uint32_t value) {
    uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(value & 127);
        value >>= 7;
    } while (value != 0);
    while (count > 1) {
        out.push_back(static_cast<uint8_t>(groups[--count] | 128));
    }
    out.push_back(groups[0]);
}

// The 15-bit colour a literal pixel stores, for pixel number i of a test picture.
inline uint16_t testColour555(int32_t i) {
    return static_cast<uint16_t>((i * 2654435761u >> 7) & 0x7FFF);
}

// What the decoder makes of a 15-bit colour: each channel in the top five bits of its byte.
inline uint32_t expand555(uint16_t v) {
    return ((v >> 10 & 31u) << 19) | ((v >> 5 & 31u) << 11) | ((v & 31u) << 3);
}

// An opaque run-length record of width × height pixels, each a literal of testColour555(i + seed).
inline Bytes literalRecord(int32_t width, int32_t height, int32_t seed, char type = 'r') {
    Bytes record;
    appendVarInt(record, static_cast<uint8_t>(type));
    appendVarInt(record, static_cast<uint32_t>(width));
    appendVarInt(record, static_cast<uint32_t>(height));
    appendVarInt(record, 3);
    appendVarInt(record, static_cast<uint16_t>(-2));  // a negative anchor, as 16 bits
    for (int32_t i = 0; i < width * height; ++i) {
        const uint16_t v = testColour555(i + seed);
        record.push_back(static_cast<uint8_t>(v >> 8));
        record.push_back(static_cast<uint8_t>(v));
    }
    record.push_back(134);
    return record;
}

// The bank stream: count, scratch size, record lengths, then the records.
inline Bytes bankStream(const std::vector<Bytes>& records, uint32_t scratchSize = 0) {
    uint32_t largest = 0;
    for (const Bytes& r : records) {
        largest = std::max<uint32_t>(largest, static_cast<uint32_t>(r.size()));
    }
    Bytes stream;
    appendVarInt(stream, static_cast<uint32_t>(records.size()));
    appendVarInt(stream, scratchSize != 0 ? scratchSize : 623 + largest);
    for (const Bytes& r : records) {
        appendVarInt(stream, static_cast<uint32_t>(r.size()));
    }
    for (const Bytes& r : records) {
        stream.insert(stream.end(), r.begin(), r.end());
    }
    return stream;
}

// A temporary program folder that holds bank files while a test runs.
class BankFolder {
public:
    BankFolder() : m_path(std::filesystem::temp_directory_path() / ("vornel-bank-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
        m_context.emplace(m_path.string());
    }
    ~BankFolder() {
        m_context.reset();
        std::filesystem::remove_all(m_path);
    }
    BankFolder(const BankFolder&) = delete;
    BankFolder& operator=(const BankFolder&) = delete;

    // Writes the stream as name0.bin, name1.bin, ... of 32768 bytes each; answers the file count.
    int write(const std::string& name, const Bytes& stream) {
        int files = 0;
        for (std::size_t at = 0; at < stream.size(); at += 32768, ++files) {
            const std::size_t size = std::min<std::size_t>(32768, stream.size() - at);
            writeFile(name + std::to_string(files) + ".bin", Bytes(stream.begin() + at, stream.begin() + at + size));
        }
        return files;
    }
    void writeFile(const std::string& file, const Bytes& bytes) {
        std::ofstream(m_path / file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void remove(const std::string& file) { std::filesystem::remove(m_path / file); }
    void truncate(const std::string& file, std::size_t size) { std::filesystem::resize_file(m_path / file, size); }

private:
    std::filesystem::path m_path;
    std::optional<RunContext> m_context;
};

}  // namespace vornel::test
