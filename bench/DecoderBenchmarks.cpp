// The decoders on the bank's own records: every run-length picture, and every JPEG picture
// with its alpha runs, decoded into pixel words as the bank decodes them on first use.
#include "BankRecords.h"
#include "BenchmarkSets.h"
#include "GameAssets.h"
#include "media/JpegDecode.h"
#include "media/PictureDecoder.h"

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;

// Records of the types given, each with a picture of its size to decode into.
struct DecodeJob {
    std::vector<BankRecords::Record> records;
    std::vector<Ref<Picture>> pictures;
};

DecodeJob jobOf(const BankRecords& bank, bool jpeg) {
    DecodeJob job;
    for (const BankRecords::Record& record : bank.records()) {
        if ((record.type == 'j') != jpeg) {
            continue;
        }
        Ref<Picture> picture = new Picture();
        picture->m_width = static_cast<int16_t>(record.width);
        picture->m_height = static_cast<int16_t>(record.height);
        picture->m_pixels = allocInt<uint32_t>(record.width * record.height);
        job.records.push_back(record);
        job.pictures.push_back(picture);
    }
    return job;
}

bool readJob(benchmark::State& state, bool jpeg, DecodeJob& job) {
    BankRecords bank;
    if (!bank.read(GameAssets::instance().folder(), "app")) {
        state.SkipWithError("the bank's records could not be read");
        return false;
    }
    job = jobOf(bank, jpeg);
    if (job.records.empty()) {
        state.SkipWithError("the bank has no records of this kind");
        return false;
    }
    return true;
}

void timeRunLength(benchmark::State& state) {
    DecodeJob job;
    if (!readJob(state, false, job)) {
        return;
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < job.records.size(); ++i) {
            const Array<uint8_t>& data = job.records[i].data;
            Picture& picture = *job.pictures[i];
            benchmark::DoNotOptimize(
                PictureDecoder::decodeRunLength(picture, picture.m_pixels, data, 0, data.length()));
        }
    }
}

void timeJpeg(benchmark::State& state) {
    DecodeJob job;
    if (!readJob(state, true, job)) {
        return;
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < job.records.size(); ++i) {
            const BankRecords::Record& record = job.records[i];
            Picture& picture = *job.pictures[i];
            const int32_t jpegLength = record.data.length() - record.alphaLength;
            benchmark::DoNotOptimize(decodeJpeg(record.data, 0, jpegLength, record.width, record.height,
                                                picture.m_pixels, 0));
            if (record.alphaLength != 0) {
                benchmark::DoNotOptimize(PictureDecoder::applyAlphaRuns(
                    picture.m_pixels, record.data, jpegLength, record.data.length(), picture.m_pixels.length()));
            }
        }
    }
}

}  // namespace

void BenchmarkSets::addDecoders(BenchCatalogue& catalogue) {
    catalogue.addCase("decode_run_length", "run-length decoder: every 'r' picture");
    catalogue.time(Runner::Vornel, timeRunLength);
    catalogue.notComparable(Runner::Pixman, "decodes no picture formats");
    catalogue.notComparable(Runner::Sdl, "decodes no picture formats (SDL_image is a separate library)");

    catalogue.addCase("decode_jpeg", "JPEG decoder + alpha runs: every 'j'");
    catalogue.time(Runner::Vornel, timeJpeg);
    catalogue.notComparable(Runner::Pixman, "decodes no picture formats");
    catalogue.notComparable(Runner::Sdl, "decodes no picture formats (SDL_image is a separate library)");
}

}  // namespace vornel::bench
