// Run-length decoding and JPEG alpha runs: pixel words, run counts, the colour cache, damaged data.
#include "media/PictureDecoder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vornel {
namespace {

using Bytes = std::vector<uint8_t>;
using Words = std::vector<uint32_t>;
constexpr uint32_t kSentinel = 0x5A5A5A5A;

template <typename T>
Array<T> array(const std::vector<T>& values) {
    Array<T> result = Array<T>::allocate(static_cast<int32_t>(values.size()));
    for (int32_t i = 0; i < result.length(); ++i) {
        result[i] = values[i];
    }
    return result;
}

// A width × 1 picture decoded from data[0, end); a sentinel word follows its pixels.
struct Decoded {
    bool ok = false;
    Words pixels;
};

Decoded decode(const Bytes& data, int16_t width, int32_t end = -1) {
    Ref<Picture> picture(new Picture);
    picture->m_width = width;
    picture->m_height = 1;
    Array<uint32_t> pixels = allocInt<uint32_t>(width + 1);
    pixels[width] = kSentinel;
    const bool ok = PictureDecoder::decodeRunLength(*picture, pixels, array(data), 0,
                                                    end < 0 ? static_cast<int32_t>(data.size()) : end);
    return {ok, Words(pixels.data(), pixels.data() + width + 1)};
}

TEST(PictureDecoder, OneLiteralPixelIsOpaqueWithRunCountZero) {
    const Decoded picture = decode({0x7F, 0xFF, 0x86}, 1);
    EXPECT_TRUE(picture.ok);
    EXPECT_EQ(picture.pixels[0], 0xE0F8F8F8u);
}

TEST(PictureDecoder, LongOpaqueRunCountsStopAt31) {
    Bytes stream;
    for (int i = 0; i < 40; ++i) {
        stream.insert(stream.end(), {0x00, 0x01});  // blue 1 -> 0x000008
    }
    stream.push_back(0x86);
    const Decoded picture = decode(stream, 40);
    ASSERT_TRUE(picture.ok);
    for (uint32_t i = 0; i < 40; ++i) {
        EXPECT_EQ(picture.pixels[i], 0xE0000008u | (i < 9 ? 31 : 39 - i) << 24) << i;
    }
}

TEST(PictureDecoder, CachedBytesRepeatLiteralsOfThisPictureOnly) {
    Bytes stream;
    for (int i = 0; i < 107; ++i) {  // the 107th literal lands in entry 0 again
        stream.insert(stream.end(), {static_cast<uint8_t>(i >> 3), static_cast<uint8_t>(i << 5)});
    }
    stream.insert(stream.end(), {150, 151, 0x86});
    const Decoded picture = decode(stream, 109);
    ASSERT_TRUE(picture.ok);
    EXPECT_EQ(picture.pixels[107] & kColourMask, picture.pixels[106] & kColourMask);
    EXPECT_EQ(picture.pixels[108] & kColourMask, picture.pixels[1] & kColourMask);
    EXPECT_EQ(decode({150, 0x86}, 1).pixels[0], 0xE0000000u);  // the cache starts empty again
}

TEST(PictureDecoder, ExtendedTransparentRunSetsTheNextPixelsAlpha) {
    // 134 then (20 << 3 | 5): 36 transparent pixels, then one pixel at code 5 (three quarters).
    const Decoded picture = decode({0x86, 20 << 3 | 5, 0x7F, 0xFF, 0x86}, 37);
    ASSERT_TRUE(picture.ok);
    for (uint32_t i = 0; i < 36; ++i) {
        EXPECT_EQ(picture.pixels[i], (i < 5 ? 31 : 35 - i) << 24) << i;
    }
    EXPECT_EQ(picture.pixels[36], 0xA0BABABAu);
}

TEST(PictureDecoder, TranslucentPixelsUseTheCoarseRunLengthSteps) {
    const uint32_t expected[] = {0x1F1F1F, 0x3E3E3E, 0x7C7C7C, 0x7C7C7C, 0xBABABA, 0xBABABA};
    for (uint32_t alpha = 1; alpha <= 6; ++alpha) {
        const auto prefix = static_cast<uint8_t>(127 + alpha);
        const Decoded picture = decode({0x7F, 0xFF, 0x87, prefix, 150, 150, 0x86}, 4);
        EXPECT_TRUE(picture.ok);
        EXPECT_EQ(picture.pixels, (Words{0xE0F8F8F8, 0, alpha << 29 | expected[alpha - 1], 0xE0F8F8F8, kSentinel}));
    }
    // Without a prefix the code is still 0: a transparent word holding a quarter of the colour.
    EXPECT_EQ(decode({0x7F, 0xFF, 0x87, 150, 0x86}, 3).pixels[2], 0x003E3E3Eu);
    // A long gap's code 7 gives three quarters of the colour, marked opaque.
    EXPECT_EQ(decode({0x7F, 0xFF, 0x86, 7, 150, 0x86}, 18).pixels[17], 0xE0BABABAu);
    // After a prefix even a control byte starts a literal (0x86FF, bit 15 dropped).
    EXPECT_EQ(decode({0x85, 0x86, 0xFF, 0x86}, 1).pixels[0], 0xC0068ABAu);
}

TEST(PictureDecoder, DamagedStreamsAnswerFalseAndStayInside) {
    const std::vector<std::pair<Bytes, int16_t>> damaged = {
        {{0x7F, 0xFF}, 1},              // no final 134
        {{0x7F}, 1},                    // literal cut short
        {{0x7F, 0xFF, 0x86, 0x00}, 20},  // 134 is not the last byte
        {{0x86, 0x00, 150, 150}, 20},   // ends inside a run
        {{0x7F, 0xFF, 150, 0x86}, 1},   // two pixels for one
        {{0x90, 0x86}, 3},              // ten transparent pixels for three
    };
    for (const auto& [stream, width] : damaged) {
        const Decoded picture = decode(stream, width);
        EXPECT_FALSE(picture.ok) << stream.size() << " bytes";
        EXPECT_EQ(picture.pixels.back(), kSentinel);
    }
    EXPECT_FALSE(decode({0x7F, 0xFF, 0x86}, 1, 2).ok);  // the 134 lies past end
    Ref<Picture> picture(new Picture);
    EXPECT_FALSE(PictureDecoder::decodeRunLength(*picture, allocInt<uint32_t>(1), array<uint8_t>({0x86}), 0, 2));
}

TEST(PictureDecoder, RandomBytesNeverLeaveTheArrays) {
    for (uint32_t seed = 1; seed <= 2000; ++seed) {
        std::mt19937 random(seed);
        Bytes stream(random() % 64);
        for (uint8_t& value : stream) {
            value = static_cast<uint8_t>(random());
        }
        EXPECT_EQ(decode(stream, static_cast<int16_t>(1 + random() % 40)).pixels.back(), kSentinel) << seed;
    }
}

TEST(PictureDecoderAlphaRuns, CodesUseTheFineJpegSteps) {
    Array<uint32_t> pixels = array(Words(6, 0xFFFF8040));
    // One transparent pixel, three opaque, one at 3/8 and one at 5/8.
    EXPECT_TRUE(PictureDecoder::applyAlphaRuns(pixels, array<uint8_t>({1 << 3, 3 << 3 | 7, 1 << 3 | 3, 1 << 3 | 5}),
                                               0, 4, 6));
    EXPECT_EQ(Words(pixels.data(), pixels.data() + 6),
              (Words{0, 0xE2FF8040, 0xE1FF8040, 0xE0FF8040, 0x605E3018, 0xA09E5028}));
    Array<uint32_t> block = array(Words(32, 0xFF123456));
    EXPECT_TRUE(PictureDecoder::applyAlphaRuns(block, array<uint8_t>({7}), 0, 1, 32));  // length 0 means 32
    EXPECT_EQ(block[31], 0xE0123456u);
}

TEST(PictureDecoderAlphaRuns, OverrunIsClippedAndShortDataFails) {
    Array<uint32_t> pixels = array(Words(3, 0xFF123456));
    EXPECT_FALSE(PictureDecoder::applyAlphaRuns(pixels, array<uint8_t>({3 << 3 | 7}), 0, 1, 2));
    EXPECT_EQ(Words(pixels.data(), pixels.data() + 3), (Words{0xE1123456, 0xE0123456, 0xFF123456}));
    EXPECT_FALSE(PictureDecoder::applyAlphaRuns(pixels, array<uint8_t>({1 << 3 | 7, 1 << 3 | 7}), 0, 1, 3));
    EXPECT_FALSE(PictureDecoder::applyAlphaRuns(pixels, array<uint8_t>({1 << 3 | 7}), 0, 2, 1));
}

}  // namespace
}  // namespace vornel
