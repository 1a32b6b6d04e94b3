// The run-length encoder, checked byte by byte and through the game's own decoder.
#include "bank/RunLengthEncoder.h"

#include <gtest/gtest.h>

#include "TestPictures.h"

namespace vornel {
namespace {

using namespace test;

Words encodeAndDecode(const RgbaImage& image, const Bytes& expectedData) {
    const Bytes data = RunLengthEncoder::encode(image);
    EXPECT_EQ(data, expectedData);
    return decodeRunLength(image, data);
}

TEST(RunLengthEncoder, OnePixelIsALiteralThenTheEndByte) {
    EXPECT_EQ(encodeAndDecode(row({kWhite}), Bytes({0x7F, 0xFF, 0x86})), Words({0xE0F8F8F8}));
}

TEST(RunLengthEncoder, ARepeatedColourIsOneCacheByteAndBlackIsCachedFromTheStart) {
    EXPECT_EQ(encodeAndDecode(row({kRed, kGreen, kRed, kRed}), Bytes({0x7C, 0x00, 0x03, 0xE0, 150, 150, 134})),
              Words({opaqueWord(kRed, 3), opaqueWord(kGreen, 2), opaqueWord(kRed, 1), opaqueWord(kRed, 0)}));
    EXPECT_EQ(RunLengthEncoder::encode(row({0xFF000000})), Bytes({150, 134}));
}

TEST(RunLengthEncoder, TheCacheOverwritesItsOldestEntryAfter106Literals) {
    // 107 different colours fill entries 0..105 and then 0 again; entry 1 still holds the
    // second colour, the first colour has to be spelt out again.
    RgbaImage image(109, 1);
    for (int32_t i = 0; i < 107; ++i) {
        image.setPixel(i, 0, 0xFF000000 | static_cast<uint32_t>((i + 1) % 32) << 3 | static_cast<uint32_t>((i + 1) / 32) << 11);
    }
    image.setPixel(107, 0, image.pixel(1, 0));
    image.setPixel(108, 0, image.pixel(0, 0));
    const Bytes data = RunLengthEncoder::encode(image);
    ASSERT_EQ(data.size(), 107u * 2 + 1 + 2 + 1);
    EXPECT_EQ(Bytes(data.end() - 4, data.end()), Bytes({151, 0x00, 0x01, 134}));
    const Words words = decodeRunLength(image, data);
    ASSERT_EQ(words.size(), 109u);
    for (int32_t i = 0; i < 109; ++i) {
        EXPECT_EQ(words[i] & 0xE0FFFFFF, opaqueWord(image.pixel(i, 0), 0)) << i;
    }
}

TEST(RunLengthEncoder, AnOpaqueRunLongerThan31CountsDownOverItsLast31) {
    Words expected;
    appendRun(expected, 40, [](uint32_t run) { return opaqueWord(kRed, run); });
    Bytes data = {0x7C, 0x00};
    data.insert(data.end(), 39, 150);
    data.push_back(134);
    EXPECT_EQ(encodeAndDecode(repeated(40, kRed), data), expected);
}

TEST(RunLengthEncoder, TransparentRunsAreShortUpTo15ExtendedUpTo47AndSplitBeyond) {
    const std::pair<int32_t, Bytes> cases[] = {
        {15, {149, 134}},
        {16, {134, 0x00, 134}},
        {47, {134, 0xF8, 134}},
        {48, {134, 0xF8, 135, 134}},
        {100, {134, 0xF8, 134, 0xF8, 140, 134}},
    };
    for (const auto& [length, data] : cases) {
        Words expected;
        for (int32_t left = length; left > 0; left -= 47) {
            appendRun(expected, left < 47 ? left : 47, clearWord);
        }
        EXPECT_EQ(encodeAndDecode(repeated(length, kClear), data), expected) << length;
    }
}

TEST(RunLengthEncoder, TranslucentPixelsTakeAPrefixAndDecodeToCodeEighthsOfTheirColour) {
    RgbaImage image = row({kWhite, 0, 0, 0, 0, 0, 0, kWhite});
    for (int32_t code = 1; code <= 6; ++code) {
        image.setPixel(code, 0, withCode(kWhite, code));
    }
    // Codes 3 and 5 store 3/4 and 5/6 of the colour (184 and 208), which the decoder halves
    // and takes 3/4 of: 92 = 3/8 and 156 = 5/8 of 248, near enough.
    const Bytes data = {0x7F, 0xFF, 128, 150, 129, 150, 130, 0x5E, 0xF7, 131, 150,
                        132,  0x6B, 0x5A, 133, 150, 150, 134};
    EXPECT_EQ(encodeAndDecode(image, data),
              Words({0xE0F8F8F8, 0x201F1F1F, 0x403E3E3E, 0x605C5C5C, 0x807C7C7C, 0xA09C9C9C, 0xC0BABABA, 0xE0F8F8F8}));
}

TEST(RunLengthEncoder, TranslucentWhiteDrawnOverWhiteStaysWhiteInEveryChannel) {
    for (int32_t code = 1; code <= 6; ++code) {
        const RgbaImage image = row({withCode(kWhite, code)});
        const Words words = decodeRunLength(image, RunLengthEncoder::encode(image));
        ASSERT_EQ(words.size(), 1u);
        Ref<Picture> picture = new Picture();
        picture->m_width = 1;
        picture->m_height = 1;
        picture->m_pixels = allocInt<uint32_t>(1);
        picture->m_pixels[0] = words[0];
        Array<uint32_t> surface = allocInt<uint32_t>(1);
        surface[0] = 0xF8F8F8;
        picture->blit(surface, 1, 1, 0, 0, 1, 1, 0, 0, 0x8000, 1, 0x8000);
        // No channel may spill into its neighbour: each stays within a few levels of 248.
        for (int shift = 0; shift <= 16; shift += 8) {
            EXPECT_NEAR(static_cast<int32_t>(surface[0] >> shift & 0xFF), 248, 8) << "code " << code;
        }
    }
}

TEST(RunLengthEncoder, AGapOf16OrMoreSetsTheCodeOfTheTranslucentPixelAfterIt) {
    Words expected;
    appendRun(expected, 20, clearWord);
    expected.push_back(0x605C5C5C);
    EXPECT_EQ(encodeAndDecode(joined({repeated(20, kClear), row({withCode(kWhite, 3)})}),
                              Bytes({134, (4 << 3) | 3, 0x5E, 0xF7, 134})),
              expected);
}

TEST(RunLengthEncoder, AGapBeforeAnOpaquePixelEndsWithATransparentBlackPixel) {
    EXPECT_EQ(encodeAndDecode(joined({repeated(5, kClear), row({kRed})}), Bytes({138, 150, 0x7C, 0x00, 134})),
              Words({clearWord(3), clearWord(2), clearWord(1), clearWord(0), 0, opaqueWord(kRed, 0)}));
}

TEST(RunLengthEncoder, ALongGapAfterATranslucentPixelResetsTheCodeBeforeAnOpaquePixel) {
    Words expected = {opaqueWord(kRed, 0), 0x807C0000};
    appendRun(expected, 19, clearWord);
    expected.insert(expected.end(), {0, opaqueWord(kRed, 0)});
    // Black is found in entry 1, behind the red of entry 0.
    EXPECT_EQ(encodeAndDecode(joined({row({kRed, withCode(kRed, 4)}), repeated(20, kClear), row({kRed})}),
                              Bytes({0x7C, 0x00, 131, 150, 134, 3 << 3, 151, 150, 134})),
              expected);
}

TEST(RunLengthEncoder, AShortGapThatCannotResetTheCodeEndsFaintInTheNextColour) {
    EXPECT_EQ(encodeAndDecode(row({kRed, withCode(kRed, 4), kClear, kClear, kClear, kRed}),
                              Bytes({0x7C, 0x00, 131, 150, 136, 128, 150, 150, 134})),
              Words({opaqueWord(kRed, 0), 0x807C0000, clearWord(1), clearWord(0), 0x201F0000, opaqueWord(kRed, 0)}));
    EXPECT_EQ(encodeAndDecode(row({kRed, kClear, kRed}), Bytes({0x7C, 0x00, 128, 150, 150, 134})),
              Words({opaqueWord(kRed, 0), 0x201F0000, opaqueWord(kRed, 0)}));
}

}  // namespace
}  // namespace vornel
