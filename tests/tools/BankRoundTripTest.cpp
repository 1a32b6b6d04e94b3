// Banks written by the writer and read back through the game's own picture bank.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

#include "TestPictures.h"
#include "bank/BankWriter.h"
#include "bank/PictureImage.h"
#include "bank/RunLengthEncoder.h"
#include "core/Base.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "media/PictureBank.h"

namespace vornel {
namespace {

using namespace test;

struct Entry {
    char type;
    RgbaImage image;
    int32_t anchorX;
    int32_t anchorY;
};

// Smooth colours, their hue changing slowly enough for 4:2:0 chroma, in a soft-edged disc:
// transparent corners and a translucent rim.
RgbaImage texturedDisc(int32_t width, int32_t height, bool opaque) {
    RgbaImage image(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const double rim = (std::min(width, height) / 2.0 - std::hypot(x - width / 2.0, y - height / 2.0)) * 60;
            const auto alpha = opaque ? 255u : static_cast<uint32_t>(std::clamp(rim, 0.0, 255.0));
            const auto wave = [&](double phase) { return static_cast<uint32_t>(128 + 100 * std::sin(x * 0.21 + y * 0.13 + phase)); };
            image.setPixel(x, y, alpha << 24 | wave(0) << 16 | wave(0.8) << 8 | wave(1.6));
        }
    }
    return image;
}

// Noise in rows whose every gap before an opaque pixel is long enough to be stored exactly:
// a clear margin, a translucent edge, opaque pixels with a 20-pixel hole, an edge, a margin.
RgbaImage noisyRows(int32_t width, int32_t height) {
    RgbaImage image = noise(width, height, 99);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const bool clear = x < 10 || x >= width - 18 || (x >= 50 && x < 70);
            const bool edge = x == 10 || x == width - 19;
            image.setPixel(x, y, withCode(image.pixel(x, y), clear ? 0 : edge ? 2 + y % 5 : 7));
        }
    }
    return image;
}

// A run-length picture shows its pixels with alpha and colour on the game's levels: exactly
// for opaque pixels, within one level for translucent ones, whose colour is stored scaled.
void expectShownOnGameLevels(const RgbaImage& shown, const RgbaImage& image) {
    ASSERT_EQ(shown.pixels().size(), image.pixels().size());
    for (std::size_t p = 0; p < image.pixels().size(); ++p) {
        const uint32_t want = image.pixels()[p];
        const uint32_t got = shown.pixels()[p];
        const int32_t code = ColourLevels::alphaCode(RgbaImage::alpha(want));
        ASSERT_EQ(RgbaImage::alpha(got), code == 0 ? 0 : ColourLevels::alphaOfCode(code)) << "pixel " << p;
        const uint32_t level = code == 0 ? 0 : ColourLevels::quantise(want);
        for (int shift = 0; shift <= 16; shift += 8) {
            const int32_t difference = static_cast<int32_t>(got >> shift & 0xFF) - static_cast<int32_t>(level >> shift & 0xFF);
            ASSERT_LE(std::abs(difference), code == 7 ? 0 : 8) << "pixel " << p;
        }
    }
}

class BankRoundTrip : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Sizes chosen so that pictures 2, 3 and 4 straddle the file boundaries at 32 KB,
        // 64 KB and 96 KB with kilobytes to spare on either side.
        s_entries = {
            {'j', texturedDisc(160, 120, false), 5, -7},
            {'o', noise(110, 90), 1, 1},
            {'j', texturedDisc(200, 100, true), -3, 0},
            {'r', noisyRows(120, 220), 0, 0},
            {'o', noise(150, 120), 0, 0},
            {'r', row({kClear, kClear, kRed, kGreen, withCode(kWhite, 3), kClear}), -32768, 32767},
        };
        std::string error;
        for (const Entry& entry : s_entries) {
            ASSERT_TRUE(s_writer.addPicture(entry.type, entry.image, entry.anchorX, entry.anchorY, error)) << error;
        }
        s_folder = std::make_unique<ScratchFolder>("roundtrip");
        ASSERT_TRUE(s_writer.writeFiles(s_folder->path(), "app", error)) << error;
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    void SetUp() override {
        m_context.emplace(s_folder->path());
        m_bank = new PictureBank(new Plain, *String::fromLiteral("app"));
        ASSERT_EQ(m_bank->count(), static_cast<int32_t>(s_entries.size()));
    }
    std::optional<RunContext> m_context;  // the bank reads its files from the program folder

    class Plain : public Base {};

    static inline std::vector<Entry> s_entries;
    static inline BankWriter s_writer;
    static inline std::unique_ptr<ScratchFolder> s_folder;
    Ref<PictureBank> m_bank;
};

TEST_F(BankRoundTrip, RecordsOfEveryKindCrossFileBoundaries) {
    const std::vector<int32_t> offsets = s_writer.recordOffsets();
    std::string crossing;
    for (std::size_t i = 0; i + 1 < offsets.size(); ++i) {
        if (offsets[i] / BankWriter::kFileSize != (offsets[i + 1] - 1) / BankWriter::kFileSize) {
            crossing += s_entries[i].type;
        }
    }
    EXPECT_EQ(crossing, "jro");
}

TEST_F(BankRoundTrip, EveryPictureKeepsItsSizeAnchorsKindAndRecordLength) {
    const std::vector<int32_t> offsets = s_writer.recordOffsets();
    const std::string types = "jrjrrr";
    const std::string opaque = "011010";
    for (int32_t i = 0; i < m_bank->count(); ++i) {
        const Entry& entry = s_entries[static_cast<std::size_t>(i)];
        Ref<Picture> picture = m_bank->getPicture(i);
        EXPECT_EQ(picture->m_width, entry.image.width()) << i;
        EXPECT_EQ(picture->m_height, entry.image.height()) << i;
        EXPECT_EQ(picture->m_anchorX, entry.anchorX) << i;
        EXPECT_EQ(picture->m_anchorY, entry.anchorY) << i;
        EXPECT_EQ(picture->m_type, types[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(picture->m_opaque, opaque[static_cast<std::size_t>(i)] - '0') << i;
        EXPECT_EQ(m_bank->recordLength(i), offsets[static_cast<std::size_t>(i) + 1] - offsets[static_cast<std::size_t>(i)]);
    }
}

TEST_F(BankRoundTrip, RunLengthPicturesArePixelExact) {
    for (int32_t i : {5, 4, 3, 1}) {  // backwards, so the reader seeks back across files
        const RgbaImage& image = s_entries[static_cast<std::size_t>(i)].image;
        Ref<Picture> picture = m_bank->getPicture(i);
        ASSERT_TRUE(picture->hasPixels()) << i;
        EXPECT_EQ(Words(picture->m_pixels.data(), picture->m_pixels.data() + picture->m_pixels.length()),
                  decodeRunLength(image, RunLengthEncoder::encode(image))) << i;
        expectShownOnGameLevels(PictureImage::fromPicture(*picture), image);
    }
}

TEST_F(BankRoundTrip, JpegPicturesKeepExactAlphaCodesAndCloseColours) {
    for (int32_t i : {2, 0}) {
        const RgbaImage& image = s_entries[static_cast<std::size_t>(i)].image;
        const RgbaImage shown = PictureImage::fromPicture(*m_bank->getPicture(i));
        ASSERT_EQ(shown.pixelCount(), image.pixelCount()) << i;
        int64_t error = 0;
        int64_t channels = 0;
        int32_t worst = 0;
        for (std::size_t p = 0; p < shown.pixels().size(); ++p) {
            const uint32_t want = image.pixels()[p];
            const uint32_t got = shown.pixels()[p];
            const int32_t code = ColourLevels::alphaCode(RgbaImage::alpha(want));
            ASSERT_EQ(RgbaImage::alpha(got), ColourLevels::alphaOfCode(code)) << i << " pixel " << p;
            for (int shift = 0; shift <= 16 && code == 7; shift += 8, ++channels) {
                const int32_t difference = std::abs(static_cast<int32_t>((want >> shift & 0xFF) - (got >> shift & 0xFF)));
                error += difference;
                worst = std::max(worst, difference);
            }
        }
        // Quality 90 with 4:2:0 chroma: about 2 levels on average, up to about 20 at the corners.
        EXPECT_LE(worst, 24) << i;
        EXPECT_LT(static_cast<double>(error) / static_cast<double>(channels), 3.0) << i;
    }
}

}  // namespace
}  // namespace vornel
