// Alpha runs of JPEG pictures, applied by the game's own decoder.
#include "bank/AlphaRunEncoder.h"

#include <gtest/gtest.h>

#include "TestPictures.h"

namespace vornel {
namespace {

using namespace test;

TEST(AlphaRunEncoder, AnOpaquePictureHasNoRuns) {
    EXPECT_TRUE(AlphaRunEncoder::encode(repeated(100, kRed)).empty());
}

TEST(AlphaRunEncoder, RunsOf32AreWrittenWithACountOfZeroAndCoverThePictureExactly) {
    const RgbaImage image = joined({repeated(70, kClear), repeated(2, withCode(0x808080, 5)), repeated(3, kWhite)});
    const Bytes runs = AlphaRunEncoder::encode(image);
    EXPECT_EQ(runs, Bytes({0x00, 0x00, 6 << 3, (2 << 3) | 5, (3 << 3) | 7}));

    // As the JPEG decoder leaves them: opaque, run count 31, colour 0x808080.
    Array<uint32_t> pixels = allocInt<uint32_t>(75);
    std::fill(pixels.data(), pixels.data() + 75, 0xFF808080);
    Array<uint8_t> data = allocByte(static_cast<int32_t>(runs.size()));
    std::copy(runs.begin(), runs.end(), data.data());
    ASSERT_TRUE(PictureDecoder::applyAlphaRuns(pixels, data, 0, data.length(), 75));

    Words expected;
    appendRun(expected, 32, clearWord);
    appendRun(expected, 32, clearWord);
    appendRun(expected, 6, clearWord);
    expected.insert(expected.end(), {0xA1505050, 0xA0505050, 0xE2808080, 0xE1808080, 0xE0808080});
    EXPECT_EQ(Words(pixels.data(), pixels.data() + 75), expected);
}

}  // namespace
}  // namespace vornel
