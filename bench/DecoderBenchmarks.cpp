// The decoders on the bank's own records: every run-length picture, and every JPEG picture
// with its alpha runs, decoded into pixel words as the bank decodes them on first use.
#include <algorithm>

#include "BankRecords.h"
#include "BenchmarkSets.h"
#include "GameAssets.h"
#include "media/JpegDecode.h"
#include "media/PictureDecoder.h"

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;

// Records of one kind, each with its number in the bank and a picture of its size to decode into.
struct DecodeJob {
    std::vector<BankRecords::Record> records;
    std::vector<int32_t> numbers;
    std::vector<Ref<Picture>> pictures;
};

DecodeJob jobOf(const BankRecords& bank, bool jpeg) {
    DecodeJob job;
    for (std::size_t number = 0; number < bank.records().size(); ++number) {
        const BankRecords::Record& record = bank.records()[number];
        if ((record.type == 'j') != jpeg) {
            continue;
        }
        Ref<Picture> picture = new Picture();
        picture->m_width = static_cast<int16_t>(record.width);
        picture->m_height = static_cast<int16_t>(record.height);
        picture->m_pixels = allocInt<uint32_t>(record.width * record.height);
        job.records.push_back(record);
        job.numbers.push_back(static_cast<int32_t>(number));
        job.pictures.push_back(picture);
    }
    return job;
}

bool decodeRunLength(const BankRecords::Record& record, Picture& picture) {
    return PictureDecoder::decodeRunLength(picture, picture.m_pixels, record.data, 0, record.data.length());
}

bool decodeJpegWithAlpha(const BankRecords::Record& record, Picture& picture) {
    const int32_t jpegLength = record.data.length() - record.alphaLength;
    const bool decoded = decodeJpeg(record.data, 0, jpegLength, record.width, record.height, picture.m_pixels, 0) != 0;
    return decoded && (record.alphaLength == 0 ||
                       PictureDecoder::applyAlphaRuns(picture.m_pixels, record.data, jpegLength, record.data.length(),
                                                      picture.m_pixels.length()));
}

// Every record decodes, to exactly the pixels the bank itself gives for it: the timing is of
// the work the game does, not of a failure path.
bool decodesAsTheBankDoes(const DecodeJob& job, bool (*decode)(const BankRecords::Record&, Picture&)) {
    for (std::size_t i = 0; i < job.records.size(); ++i) {
        Picture& picture = *job.pictures[i];
        const Ref<Picture> banked = GameAssets::instance().picture(job.numbers[i]);
        if (!decode(job.records[i], picture) || banked->m_pixels.length() != picture.m_pixels.length() ||
            !std::equal(picture.m_pixels.data(), picture.m_pixels.data() + picture.m_pixels.length(),
                        banked->m_pixels.data())) {
            return false;
        }
    }
    return true;
}

void timeDecoder(benchmark::State& state, bool jpeg) {
    BankRecords bank;
    if (!bank.read(GameAssets::instance().folder(), "app")) {
        state.SkipWithError("the bank's records could not be read");
        return;
    }
    const DecodeJob job = jobOf(bank, jpeg);
    const auto decode = jpeg ? decodeJpegWithAlpha : decodeRunLength;
    if (job.records.empty() || !decodesAsTheBankDoes(job, decode)) {
        state.SkipWithError("the records do not decode to the bank's pictures");
        return;
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < job.records.size(); ++i) {
            benchmark::DoNotOptimize(decode(job.records[i], *job.pictures[i]));
        }
    }
}

}  // namespace

void BenchmarkSets::addDecoders(BenchCatalogue& catalogue) {
    catalogue.addCase("decode_run_length", "run-length decoder: every 'r' picture");
    catalogue.time(Runner::Vornel, [](benchmark::State& state) { timeDecoder(state, false); });
    catalogue.notComparable(Runner::Pixman, "decodes no picture formats");
    catalogue.notComparable(Runner::Sdl, "decodes no picture formats (SDL_image is a separate library)");

    catalogue.addCase("decode_jpeg", "JPEG decoder + alpha runs: every 'j'");
    catalogue.time(Runner::Vornel, [](benchmark::State& state) { timeDecoder(state, true); });
    catalogue.notComparable(Runner::Pixman, "decodes no picture formats");
    catalogue.notComparable(Runner::Sdl, "decodes no picture formats (SDL_image is a separate library)");
}

}  // namespace vornel::bench
