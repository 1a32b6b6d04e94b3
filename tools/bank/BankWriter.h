// Builds a picture bank from RGBA pictures: the records, the header of variable-length
// integers, and the split of the stream into files of 32768 bytes (NAME0.bin, NAME1.bin, ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bank/RgbaImage.h"
#include "media/PictureBank.h"

namespace vornel {

// Record layout, every field a variable-length integer except the data:
//   type letter, width, height, anchor x, anchor y (anchors as their 16-bit two's
//   complement, so -1 is 65535 and the game's 16-bit fields read it back as -1),
//   "j" only: the alpha length A,
//   data: "j" the JPEG (whole for picture 0, without its first 623 bytes after that) and
//   then A bytes of alpha runs; "r" and "o" the run-length data.
class BankWriter {
public:
    static constexpr int32_t kFileSize = PictureBank::kFileSize;
    static constexpr char kJpeg = 'j';
    static constexpr char kRunLength = 'r';
    static constexpr char kOpaque = 'o';
    static constexpr int32_t kMaxSide = 32767;
    // The most the game's bank reader accepts: pictures in a bank, and scratch bytes.
    static constexpr int32_t kMaxPictures = PictureBank::kMaxPictures;
    static constexpr int32_t kMaxScratch = PictureBank::kMaxScratch;
    static constexpr int32_t kMaxPixels = PictureBank::kMaxPixels;
    // The bank reader skips forward through its scratch array behind the shared JPEG header,
    // so the array must be larger than that header for a skip to make progress.
    static constexpr int32_t kMinScratchSize = PictureBank::kSharedJpegHeader + 1;

    // Adds the next picture (type 'j', 'r' or 'o') with its anchor. Answers false with a
    // one-line reason, and adds nothing, when the type is unknown, a side is not 1..32767,
    // an anchor does not fit 16 signed bits, an "o" picture has pixels that are not opaque,
    // a "j" picture would not be preceded by a "j" picture 0, its JPEG header differs from
    // picture 0's, or the bank would pass the reader's limits on pictures and record size.
    bool addPicture(char type, const RgbaImage& image, int32_t anchorX, int32_t anchorY, std::string& error);

    int32_t count() const { return static_cast<int32_t>(m_records.size()); }

    // The bank stream: count, scratch size, the record lengths, then the records in order.
    std::vector<uint8_t> stream() const;
    // Stream offsets of the records, count() + 1 of them: record i is offsets[i]..offsets[i + 1].
    std::vector<int32_t> recordOffsets() const;
    // The reader's scratch array size: at least every record's data behind the bytes the
    // reader keeps in front of it (nothing for picture 0, the 623-byte shared JPEG header for
    // every later picture), and at least kMinScratchSize.
    int32_t scratchSize() const;

    // Writes the stream into folder (created if missing) as name0.bin, name1.bin, ..., each
    // kFileSize bytes but the last, and removes later files of the same name left by a
    // larger bank. Answers false with a reason on failure.
    bool writeFiles(const std::string& folder, const std::string& name, std::string& error) const;

    // A variable-length integer: big-endian groups of 7 bits, every byte but the last with
    // its top bit set (128 is 0x81 0x00).
    static void appendVarInt(std::vector<uint8_t>& bytes, uint32_t value);

private:
    struct Record {
        std::vector<uint8_t> bytes;
        int32_t scratchNeed;  // bytes of scratch the reader fills when it loads this record
    };

    bool checkPicture(char type, const RgbaImage& image, int32_t anchorX, int32_t anchorY, std::string& error) const;
    // Also answers the JPEG's first 623 bytes, which become the shared header if the record
    // is picture 0 and is kept.
    bool makeJpegRecord(const RgbaImage& image, Record& record, std::vector<uint8_t>& jpegHeader, std::string& error);
    void makeRunLengthRecord(const RgbaImage& image, Record& record) const;
    std::vector<uint8_t> header() const;
    int32_t dataStart() const;  // where the reader puts the data of the record being added

    std::vector<Record> m_records;
    std::vector<uint8_t> m_sharedJpegHeader;  // picture 0's first 623 bytes, if it is a JPEG
    int64_t m_recordBytes = 0;
};

}  // namespace vornel
