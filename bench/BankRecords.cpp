// Reading a bank's index and records as the picture bank does, keeping the bytes undecoded.
#include "BankRecords.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "media/PictureBank.h"

namespace vornel::bench {
namespace {

constexpr int32_t kMaxVarIntBytes = 5;

Array<uint8_t> arrayOf(const std::vector<uint8_t>& bytes) {
    Array<uint8_t> array = allocByte(static_cast<int32_t>(bytes.size()));
    if (array.length() == static_cast<int32_t>(bytes.size()) && !bytes.empty()) {
        std::memcpy(array.data(), bytes.data(), bytes.size());
    }
    return array;
}

// The height and width the bank writes into the shared header before each JPEG.
void setJpegSize(std::vector<uint8_t>& jpeg, int32_t width, int32_t height) {
    const std::size_t at = PictureBank::kHeightOffset;
    jpeg[at] = static_cast<uint8_t>(height >> 8);
    jpeg[at + 1] = static_cast<uint8_t>(height);
    jpeg[at + 2] = static_cast<uint8_t>(width >> 8);
    jpeg[at + 3] = static_cast<uint8_t>(width);
}

}  // namespace

bool BankRecords::read(const std::string& folder, const std::string& name) {
    m_records.clear();
    std::vector<int32_t> lengths;
    if (!readStream(folder, name) || !readIndex(lengths)) {
        std::fprintf(stderr, "bench: no readable picture bank %s*.bin in %s\n", name.c_str(), folder.c_str());
        return false;
    }
    std::vector<uint8_t> sharedHeader;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        Record record;
        if (!readRecord(lengths[i], sharedHeader, record)) {
            std::fprintf(stderr, "bench: record %zu of the bank %s is damaged\n", i, name.c_str());
            return false;
        }
        if (i == 0 && record.type == 'j') {
            sharedHeader.assign(record.data.data(), record.data.data() + PictureBank::kSharedJpegHeader);
        }
        m_records.push_back(std::move(record));
    }
    return true;
}

bool BankRecords::readStream(const std::string& folder, const std::string& name) {
    m_stream.clear();
    m_position = 0;
    for (int number = 0;; ++number) {
        std::ifstream file(folder + "/" + name + std::to_string(number) + ".bin", std::ios::binary);
        if (!file) {
            return number > 0;
        }
        m_stream.insert(m_stream.end(), std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
}

int32_t BankRecords::readVarInt() {
    int32_t value = 0;
    for (int32_t i = 0; i < kMaxVarIntBytes && m_position < m_stream.size(); ++i) {
        const uint8_t byte = m_stream[m_position++];
        value = value << 7 | (byte & 127);
        if (byte < 128) {
            return value;
        }
    }
    return -1;
}

// The count, the scratch size (not needed here) and each record's length.
bool BankRecords::readIndex(std::vector<int32_t>& lengths) {
    const int32_t count = readVarInt();
    if (count < 0 || count > PictureBank::kMaxPictures || readVarInt() < 0) {
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        const int32_t length = readVarInt();
        if (length < 0) {
            return false;
        }
        lengths.push_back(length);
    }
    return true;
}

bool BankRecords::readRecord(int32_t length, const std::vector<uint8_t>& sharedHeader, Record& record) {
    const std::size_t end = m_position + static_cast<std::size_t>(length);
    if (end > m_stream.size()) {
        return false;
    }
    record.type = static_cast<uint8_t>(readVarInt());
    record.width = readVarInt();
    record.height = readVarInt();
    const int32_t anchorX = readVarInt();
    const int32_t anchorY = readVarInt();
    record.alphaLength = record.type == 'j' ? readVarInt() : 0;
    if (record.width <= 0 || record.height <= 0 || anchorX < 0 || anchorY < 0 || record.alphaLength < 0 ||
        m_position > end) {
        return false;
    }
    std::vector<uint8_t> data;
    const bool jpegBehindHeader = record.type == 'j' && !sharedHeader.empty();
    if (jpegBehindHeader) {
        data = sharedHeader;
    }
    data.insert(data.end(), m_stream.begin() + static_cast<std::ptrdiff_t>(m_position),
                m_stream.begin() + static_cast<std::ptrdiff_t>(end));
    m_position = end;
    if (record.type == 'j') {
        if (data.size() <= static_cast<std::size_t>(PictureBank::kSharedJpegHeader + record.alphaLength)) {
            return false;
        }
        setJpegSize(data, record.width, record.height);
    }
    record.data = arrayOf(data);
    return record.data.length() == static_cast<int32_t>(data.size());
}

}  // namespace vornel::bench
