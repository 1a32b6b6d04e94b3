// Every input saved from the fuzz targets, run again through the target's body: none may
// crash, and under `make test-asan` none may touch memory it does not own or leak. The
// findings also get a closer look at what the loader did with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "core/Allocator.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "media/PictureBank.h"

extern "C" {
int fuzzBank(const uint8_t* data, std::size_t size);
int fuzzDecoder(const uint8_t* data, std::size_t size);
int fuzzJpeg(const uint8_t* data, std::size_t size);
int fuzzFont(const uint8_t* data, std::size_t size);
int fuzzWav(const uint8_t* data, std::size_t size);
int fuzzSettings(const uint8_t* data, std::size_t size);
int fuzzScript(const uint8_t* data, std::size_t size);
int fuzzDemo(const uint8_t* data, std::size_t size);
}

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct FuzzTarget {
    const char* folder;  // under tests/fuzz-regressions/
    int (*body)(const uint8_t* data, std::size_t size);
};

std::vector<fs::path> savedInputs(const char* folder) {
    std::vector<fs::path> inputs;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(VORNEL_FUZZ_REGRESSIONS) / folder)) {
        inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

Bytes contentsOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

class FuzzRegression : public testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzRegression, EverySavedInputRunsThroughTheTarget) {
    const std::vector<fs::path> inputs = savedInputs(GetParam().folder);
    ASSERT_FALSE(inputs.empty()) << "no saved inputs for " << GetParam().folder;
    for (const fs::path& input : inputs) {
        const Bytes bytes = contentsOf(input);
        static const uint8_t kNothing = 0;  // libFuzzer never passes null, even for no bytes
        const uint8_t* data = bytes.empty() ? &kNothing : bytes.data();
        EXPECT_EQ(GetParam().body(data, bytes.size()), 0) << input;
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegression,
                         testing::Values(FuzzTarget{"bank", fuzzBank}, FuzzTarget{"decoder", fuzzDecoder},
                                         FuzzTarget{"jpeg", fuzzJpeg}, FuzzTarget{"font", fuzzFont},
                                         FuzzTarget{"wav", fuzzWav}, FuzzTarget{"settings", fuzzSettings},
                                         FuzzTarget{"script", fuzzScript}, FuzzTarget{"demo", fuzzDemo}),
                         [](const testing::TestParamInfo<FuzzTarget>& info) { return std::string(info.param.folder); });

// Refuses and remembers the largest request beyond any picture the game has, so that a
// loader that asks for gigabytes fails the test at once instead of thrashing the machine.
class WatchingHeap final : public vornel::Allocator::Heap {
public:
    static constexpr std::size_t kRefusedFrom = std::size_t{256} << 20;

    WatchingHeap() : m_previous(vornel::Allocator::setHeap(this)) {}
    ~WatchingHeap() { vornel::Allocator::setHeap(m_previous); }
    void* allocateZeroed(std::size_t bytes) override {
        largest = std::max(largest, bytes);
        return bytes >= kRefusedFrom ? nullptr : std::calloc(1, bytes);
    }
    void release(void* block) override { std::free(block); }

    std::size_t largest = 0;

private:
    vornel::Allocator::Heap* m_previous;
};

class NoOwner : public vornel::Base {};

// Both records claim 32767 × 32767 pixels: with run-length data of one pixel, and with the
// real JPEG data of a 200 × 120 picture. Such a record is damaged, and costs no memory.
TEST(BankFinding, ARecordOfAHugeSizeIsAnEmptyPictureThatAsksForNoPixels) {
    vornel::fuzz::FuzzFolder folder("bank-finding");
    const vornel::RunContext context(folder.path().string());
    for (const char* name : {"huge-run-length-record.bin", "huge-jpeg-record.bin"}) {
        const Bytes bytes = contentsOf(fs::path(VORNEL_FUZZ_REGRESSIONS) / "bank" / name);
        folder.writePieces("app", bytes.data(), bytes.size(), vornel::PictureBank::kFileSize);
        WatchingHeap heap;
        vornel::Ref<vornel::PictureBank> bank = new vornel::PictureBank(new NoOwner(), *vornel::String::fromLiteral("app"));
        ASSERT_EQ(bank->count(), 1) << name;
        EXPECT_FALSE(bank->getPicture(0)->hasPixels()) << name;
        EXPECT_LE(heap.largest, std::size_t{vornel::PictureBank::kMaxScratch}) << name;
        bank->close();
    }
}

}  // namespace
