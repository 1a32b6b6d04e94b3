// vornel-fuzz-seeds BANK_FOLDER NAME OUT_FOLDER: seeds for the fuzz targets of the picture
// bank, the picture decoder and the JPEG wrapper, cut from the game's own bank. It writes
//   OUT/bank/whole.bin         the whole bank stream
//   OUT/bank/single-K.bin      a bank of picture K alone (JPEG pictures with their whole JPEG)
//   OUT/jpeg/picture-K.bin     width, height (16 bits, big-endian) and picture K's whole JPEG
//   OUT/decoder/picture-K.bin  width, height and picture K's run-length data or alpha runs
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bank/BankWriter.h"
#include "media/PictureBank.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct Record {
    uint32_t type = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    Bytes fields;  // the record's bytes before its data: type, size, anchors
    Bytes data;    // "j": the JPEG as stored (cut after picture 0); else the run-length data
    Bytes alpha;   // "j" only
};

// Reads the stream's variable-length integers and bytes; a read past the end sets failed.
class Reader {
public:
    Reader(const Bytes& bytes, std::size_t at, std::size_t end) : m_bytes(bytes), m_at(at), m_end(end) {}

    uint32_t varInt() {
        uint32_t value = 0;
        for (int groups = 0; groups < 5 && m_at < m_end; ++groups) {
            const uint8_t byte = m_bytes[m_at++];
            value = value << 7 | (byte & 127u);
            if (byte < 128) {
                return value;
            }
        }
        failed = true;
        return 0;
    }
    Bytes take(std::size_t count) {
        if (count > m_end - m_at) {
            failed = true;
            count = m_end - m_at;
        }
        Bytes taken(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at),
                    m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at + count));
        m_at += count;
        return taken;
    }
    std::size_t at() const { return m_at; }
    std::size_t left() const { return m_end - m_at; }

    bool failed = false;

private:
    const Bytes& m_bytes;
    std::size_t m_at;
    std::size_t m_end;
};

void append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

Bytes readBankStream(const fs::path& folder, const std::string& name) {
    Bytes stream;
    for (int number = 0;; ++number) {
        std::ifstream file(folder / (name + std::to_string(number) + ".bin"), std::ios::binary);
        if (!file) {
            return stream;
        }
        stream.insert(stream.end(), std::istreambuf_iterator<char>(file), {});
    }
}

Record parseRecord(Reader& reader) {
    Record record;
    Reader fields = reader;  // reads the fields a second time, to keep their bytes
    record.type = reader.varInt();
    record.width = reader.varInt();
    record.height = reader.varInt();
    reader.varInt();  // the anchors
    reader.varInt();
    record.fields = fields.take(reader.at() - fields.at());
    uint32_t alphaLength = 0;
    if (record.type == 'j') {
        alphaLength = reader.varInt();
    }
    record.data = reader.take(reader.left() > alphaLength ? reader.left() - alphaLength : 0);
    record.alpha = reader.take(alphaLength);
    return record;
}

bool parseBank(const Bytes& stream, std::vector<Record>& records) {
    Reader header(stream, 0, stream.size());
    const uint32_t count = header.varInt();
    header.varInt();  // the scratch size, worked out again for every seed bank
    std::vector<uint32_t> lengths;
    for (uint32_t i = 0; i < count && !header.failed; ++i) {
        lengths.push_back(header.varInt());
    }
    std::size_t at = header.at();
    for (uint32_t i = 0; i < count && !header.failed; ++i) {
        if (lengths[i] > stream.size() - at) {
            return false;
        }
        Reader reader(stream, at, at + lengths[i]);
        records.push_back(parseRecord(reader));
        if (reader.failed) {
            return false;
        }
        at += lengths[i];
    }
    return !header.failed && !records.empty();
}

// Picture index's whole JPEG: after picture 0 the bank leaves out the shared header, and
// the reader writes the picture's own size into it.
Bytes wholeJpeg(const std::vector<Record>& records, std::size_t index) {
    const Record& record = records[index];
    if (index == 0) {
        return record.data;
    }
    const Bytes& first = records[0].data;
    Bytes jpeg(first.begin(), first.begin() + vornel::PictureBank::kSharedJpegHeader);
    append(jpeg, record.data);
    const std::size_t size = vornel::PictureBank::kHeightOffset;
    jpeg[size] = static_cast<uint8_t>(record.height >> 8);
    jpeg[size + 1] = static_cast<uint8_t>(record.height);
    jpeg[size + 2] = static_cast<uint8_t>(record.width >> 8);
    jpeg[size + 3] = static_cast<uint8_t>(record.width);
    return jpeg;
}

Bytes sizePrefix(const Record& record) {
    return {static_cast<uint8_t>(record.width >> 8), static_cast<uint8_t>(record.width),
            static_cast<uint8_t>(record.height >> 8), static_cast<uint8_t>(record.height)};
}

// A bank of one picture: picture 0 reads its data from the start of the scratch array.
Bytes singlePictureBank(const Record& record, const Bytes& data) {
    Bytes body = record.fields;
    if (record.type == 'j') {
        vornel::BankWriter::appendVarInt(body, static_cast<uint32_t>(record.alpha.size()));
    }
    append(body, data);
    append(body, record.alpha);
    Bytes bank;
    vornel::BankWriter::appendVarInt(bank, 1);
    const auto need = static_cast<uint32_t>(data.size() + record.alpha.size());
    vornel::BankWriter::appendVarInt(bank, need > vornel::PictureBank::kSharedJpegHeader ? need : vornel::PictureBank::kSharedJpegHeader + 1);
    vornel::BankWriter::appendVarInt(bank, static_cast<uint32_t>(body.size()));
    append(bank, body);
    return bank;
}

bool writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool writeSeeds(const Bytes& stream, const std::vector<Record>& records, const fs::path& out) {
    for (const char* target : {"bank", "jpeg", "decoder"}) {
        fs::create_directories(out / target);
    }
    bool written = writeFile(out / "bank" / "whole.bin", stream);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& record = records[i];
        const std::string name = "picture-" + std::to_string(i) + ".bin";
        const Bytes data = record.type == 'j' ? wholeJpeg(records, i) : record.data;
        written = writeFile(out / "bank" / ("single-" + std::to_string(i) + ".bin"),
                            singlePictureBank(record, data)) && written;
        Bytes decoderSeed = sizePrefix(record);
        append(decoderSeed, record.type == 'j' ? record.alpha : record.data);
        if (record.type != 'j' || !record.alpha.empty()) {
            written = writeFile(out / "decoder" / name, decoderSeed) && written;
        }
        if (record.type == 'j') {
            Bytes jpegSeed = sizePrefix(record);
            append(jpegSeed, data);
            written = writeFile(out / "jpeg" / name, jpegSeed) && written;
        }
    }
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: vornel-fuzz-seeds BANK_FOLDER NAME OUT_FOLDER\n");
        return 2;
    }
    const Bytes stream = readBankStream(argv[1], argv[2]);
    std::vector<Record> records;
    if (!parseBank(stream, records)) {
        std::fprintf(stderr, "vornel-fuzz-seeds: no readable bank %s in %s\n", argv[2], argv[1]);
        return 1;
    }
    if (records[0].type == 'j' && records[0].data.size() < vornel::PictureBank::kSharedJpegHeader) {
        std::fprintf(stderr, "vornel-fuzz-seeds: picture 0 of %s is too short for a JPEG\n", argv[2]);
        return 1;
    }
    if (!writeSeeds(stream, records, argv[3])) {
        std::fprintf(stderr, "vornel-fuzz-seeds: cannot write the seeds into %s\n", argv[3]);
        return 1;
    }
    return 0;
}
