// The picture-bank writer.
#include "bank/BankWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "bank/AlphaRunEncoder.h"
#include "bank/JpegEncoder.h"
#include "bank/RunLengthEncoder.h"

namespace vornel {

namespace {

namespace fs = std::filesystem;

// Stream offsets are 32-bit in the reader; stay well clear of the top.
constexpr int64_t kMaxStreamBytes = 0x40000000;

bool fitsSigned16(int32_t value) {
    return value >= -32768 && value <= 32767;
}

uint32_t asUnsigned16(int32_t value) {
    return static_cast<uint32_t>(value) & 0xFFFF;
}

void appendFields(std::vector<uint8_t>& bytes, char type, const RgbaImage& image, int32_t anchorX,
                  int32_t anchorY) {
    BankWriter::appendVarInt(bytes, static_cast<uint8_t>(type));
    BankWriter::appendVarInt(bytes, static_cast<uint32_t>(image.width()));
    BankWriter::appendVarInt(bytes, static_cast<uint32_t>(image.height()));
    BankWriter::appendVarInt(bytes, asUnsigned16(anchorX));
    BankWriter::appendVarInt(bytes, asUnsigned16(anchorY));
}

std::string fileName(const std::string& name, int32_t number) {
    return name + std::to_string(number) + ".bin";
}

bool writeFile(const fs::path& path, const uint8_t* bytes, std::size_t count) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
    file.close();
    return !file.fail();
}

}  // namespace

void BankWriter::appendVarInt(std::vector<uint8_t>& bytes, uint32_t value) {
    uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(value & 127);
        value >>= 7;
    } while (value != 0);
    while (count > 1) {
        bytes.push_back(static_cast<uint8_t>(groups[--count] | 128));
    }
    bytes.push_back(groups[0]);
}

bool BankWriter::addPicture(char type, const RgbaImage& image, int32_t anchorX, int32_t anchorY,
                            std::string& error) {
    if (!checkPicture(type, image, anchorX, anchorY, error)) {
        return false;
    }
    Record record{{}, 0};
    std::vector<uint8_t> jpegHeader;
    appendFields(record.bytes, type, image, anchorX, anchorY);
    if (type == kJpeg) {
        if (!makeJpegRecord(image, record, jpegHeader, error)) {
            return false;
        }
    } else {
        makeRunLengthRecord(image, record);
    }
    if (record.scratchNeed > kMaxScratch) {
        error = "its record needs " + std::to_string(record.scratchNeed) + " bytes of reader scratch, over the " +
                std::to_string(kMaxScratch) + " the reader allows";
        return false;
    }
    if (m_recordBytes + static_cast<int64_t>(record.bytes.size()) > kMaxStreamBytes) {
        error = "the bank would grow past " + std::to_string(kMaxStreamBytes) + " bytes";
        return false;
    }
    if (m_records.empty()) {
        m_sharedJpegHeader = std::move(jpegHeader);
    }
    m_recordBytes += static_cast<int64_t>(record.bytes.size());
    m_records.push_back(std::move(record));
    return true;
}

bool BankWriter::checkPicture(char type, const RgbaImage& image, int32_t anchorX, int32_t anchorY,
                              std::string& error) const {
    if (count() >= kMaxPictures) {
        error = "a bank holds at most " + std::to_string(kMaxPictures) + " pictures";
    } else if (type != kJpeg && type != kRunLength && type != kOpaque) {
        error = std::string("unknown picture type '") + type + "' (use j, r or o)";
    } else if (image.width() < 1 || image.height() < 1 || image.width() > kMaxSide || image.height() > kMaxSide) {
        error = "picture size " + std::to_string(image.width()) + " x " + std::to_string(image.height()) +
                " is outside 1..32767";
    } else if (static_cast<int64_t>(image.width()) * image.height() > kMaxPixels) {
        error = "picture size " + std::to_string(image.width()) + " x " + std::to_string(image.height()) +
                " has more than the " + std::to_string(kMaxPixels) + " pixels the reader allows";
    } else if (!fitsSigned16(anchorX) || !fitsSigned16(anchorY)) {
        error = "anchor " + std::to_string(anchorX) + "," + std::to_string(anchorY) + " is outside -32768..32767";
    } else if (type == kOpaque && !RunLengthEncoder::isOpaque(image)) {
        error = "an \"o\" picture must be fully opaque; use \"r\" for pictures with transparency";
    } else if (type == kJpeg && !m_records.empty() && m_sharedJpegHeader.empty()) {
        error = "picture 0 must be a \"j\" picture when the bank holds \"j\" pictures";
    } else {
        return true;
    }
    return false;
}

int32_t BankWriter::dataStart() const {
    return m_records.empty() ? 0 : JpegEncoder::kSharedHeaderSize;
}

bool BankWriter::makeJpegRecord(const RgbaImage& image, Record& record, std::vector<uint8_t>& jpegHeader,
                                std::string& error) {
    std::vector<uint8_t> jpeg;
    if (!JpegEncoder::encode(image, jpeg, error)) {
        return false;
    }
    const auto headerEnd = jpeg.begin() + JpegEncoder::kSharedHeaderSize;
    const auto sizeStart = jpeg.begin() + JpegEncoder::kSizeOffset;
    const auto sizeEnd = sizeStart + JpegEncoder::kSizeBytes;
    if (!m_sharedJpegHeader.empty() &&
        (!std::equal(jpeg.begin(), sizeStart, m_sharedJpegHeader.begin()) ||
         !std::equal(sizeEnd, headerEnd, m_sharedJpegHeader.begin() + JpegEncoder::kSizeOffset + JpegEncoder::kSizeBytes))) {
        error = "its JPEG header differs from picture 0's beyond the size";
        return false;
    }
    const std::vector<uint8_t> alphaRuns = AlphaRunEncoder::encode(image);
    appendVarInt(record.bytes, static_cast<uint32_t>(alphaRuns.size()));
    const auto jpegData = m_records.empty() ? jpeg.begin() : headerEnd;
    record.bytes.insert(record.bytes.end(), jpegData, jpeg.end());
    record.bytes.insert(record.bytes.end(), alphaRuns.begin(), alphaRuns.end());
    record.scratchNeed = dataStart() + static_cast<int32_t>(jpeg.end() - jpegData) + static_cast<int32_t>(alphaRuns.size());
    jpegHeader.assign(jpeg.begin(), headerEnd);
    return true;
}

void BankWriter::makeRunLengthRecord(const RgbaImage& image, Record& record) const {
    const std::vector<uint8_t> data = RunLengthEncoder::encode(image);
    record.bytes.insert(record.bytes.end(), data.begin(), data.end());
    record.scratchNeed = dataStart() + static_cast<int32_t>(data.size());
}

int32_t BankWriter::scratchSize() const {
    int32_t size = kMinScratchSize;
    for (const Record& record : m_records) {
        size = std::max(size, record.scratchNeed);
    }
    return size;
}

std::vector<uint8_t> BankWriter::header() const {
    std::vector<uint8_t> bytes;
    appendVarInt(bytes, static_cast<uint32_t>(m_records.size()));
    appendVarInt(bytes, static_cast<uint32_t>(scratchSize()));
    for (const Record& record : m_records) {
        appendVarInt(bytes, static_cast<uint32_t>(record.bytes.size()));
    }
    return bytes;
}

std::vector<uint8_t> BankWriter::stream() const {
    std::vector<uint8_t> bytes = header();
    for (const Record& record : m_records) {
        bytes.insert(bytes.end(), record.bytes.begin(), record.bytes.end());
    }
    return bytes;
}

std::vector<int32_t> BankWriter::recordOffsets() const {
    std::vector<int32_t> offsets{static_cast<int32_t>(header().size())};
    for (const Record& record : m_records) {
        offsets.push_back(offsets.back() + static_cast<int32_t>(record.bytes.size()));
    }
    return offsets;
}

bool BankWriter::writeFiles(const std::string& folder, const std::string& name, std::string& error) const {
    if (m_records.empty()) {
        error = "a bank needs at least one picture";
        return false;
    }
    if (name.empty() || name.find('/') != std::string::npos) {
        error = "bank name \"" + name + "\" must be a plain file name";
        return false;
    }
    std::error_code failure;
    fs::create_directories(folder, failure);
    if (failure) {
        error = "cannot create " + folder + ": " + failure.message();
        return false;
    }
    const std::vector<uint8_t> bytes = stream();
    int32_t number = 0;
    for (std::size_t start = 0; start < bytes.size(); start += kFileSize, ++number) {
        const std::size_t count = std::min(bytes.size() - start, static_cast<std::size_t>(kFileSize));
        const fs::path path = fs::path(folder) / fileName(name, number);
        if (!writeFile(path, bytes.data() + start, count)) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    for (fs::path stale = fs::path(folder) / fileName(name, number); fs::exists(stale, failure);
         stale = fs::path(folder) / fileName(name, ++number)) {
        fs::remove(stale, failure);
    }
    return true;
}

}  // namespace vornel
