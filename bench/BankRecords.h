// The raw records of a picture bank, read once from its files so that the decoders can be
// timed on the game's own data without the bank's file reading around them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Array.h"

namespace vornel::bench {

class BankRecords {
public:
    struct Record {
        uint8_t type = 0;  // 'j', 'r' or 'o'
        int32_t width = 0;
        int32_t height = 0;
        // What the decoder reads. A JPEG record's data is a whole JPEG stream (the bank's
        // shared header put back in front, its size bytes set) followed by its alpha runs.
        Array<uint8_t> data;
        int32_t alphaLength = 0;  // bytes of alpha runs at the end of a JPEG record's data
    };

    // Reads name0.bin, name1.bin, ... of the folder. False, with one line on stderr, when
    // the files are missing or do not hold a well-formed bank.
    bool read(const std::string& folder, const std::string& name);

    const std::vector<Record>& records() const { return m_records; }

private:
    bool readStream(const std::string& folder, const std::string& name);
    bool readIndex(std::vector<int32_t>& lengths);
    bool readRecord(int32_t length, const std::vector<uint8_t>& sharedHeader, Record& record);
    int32_t readVarInt();

    std::vector<uint8_t> m_stream;  // all files one after the other
    std::size_t m_position = 0;
    std::vector<Record> m_records;
};

}  // namespace vornel::bench
