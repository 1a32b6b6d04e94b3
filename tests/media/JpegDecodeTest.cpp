// JPEG decoding into pixel words: colours, size mismatches, damaged data and bad ranges.
#include "media/JpegDecode.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdlib>
#include <vector>

namespace vornel {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kTolerance = 4;  // per channel, out of 255, at quality 95 with full-size chroma

uint32_t gradient(int32_t x, int32_t y) { return static_cast<uint32_t>(x * 16 << 16 | y * 16 << 8 | 0x80); }
uint32_t plum(int32_t, int32_t) { return 0x3366CC; }

Bytes encode(int32_t width, int32_t height, uint32_t (*colourAt)(int32_t, int32_t), bool progressive = false) {
    jpeg_compress_struct compressor{};
    jpeg_error_mgr errors{};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = width;
    compressor.image_height = height;
    compressor.input_components = 3;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, 95, TRUE);
    compressor.comp_info[0].h_samp_factor = compressor.comp_info[0].v_samp_factor = 1;  // full-size chroma
    if (progressive) {
        jpeg_simple_progression(&compressor);
    }
    jpeg_start_compress(&compressor, TRUE);
    for (int32_t y = 0; y < height; ++y) {
        Bytes row;
        for (int32_t x = 0; x < width; ++x) {
            row.insert(row.end(), {uint8_t(colourAt(x, y) >> 16), uint8_t(colourAt(x, y) >> 8), uint8_t(colourAt(x, y))});
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&compressor, rows, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

Array<uint32_t> filled(int32_t count, uint32_t word) {
    Array<uint32_t> pixels = allocInt<uint32_t>(count);
    std::fill(pixels.data(), pixels.data() + count, word);
    return pixels;
}

bool decode(const Bytes& jpeg, int32_t width, int32_t height, const Array<uint32_t>& pixels) {
    return jpegDecode(jpeg.data(), jpeg.size(), width, height, pixels.data());
}

void expectOpaqueNear(uint32_t word, uint32_t colour) {
    EXPECT_EQ(word >> 24, 0xFFu);
    for (int shift : {0, 8, 16}) {
        EXPECT_NEAR(int(word >> shift & 0xFF), int(colour >> shift & 0xFF), kTolerance) << "channel at bit " << shift;
    }
}

TEST(JpegDecode, OnePixelBecomesOneOpaqueWordOfItsColour) {
    Array<uint32_t> pixels = filled(1, 0);
    ASSERT_TRUE(decode(encode(1, 1, plum), 1, 1, pixels));
    expectOpaqueNear(pixels[0], 0x3366CC);
}

TEST(JpegDecode, GradientDecodedInPlaceKeepsEveryPixel) {
    Array<uint32_t> pixels = filled(16 * 16, 0);
    ASSERT_TRUE(decode(encode(16, 16, gradient), 16, 16, pixels));
    for (int32_t i = 0; i < 16 * 16; ++i) {
        expectOpaqueNear(pixels[i], gradient(i % 16, i / 16));
    }
}

TEST(JpegDecode, LargerPictureSaysMismatchOnceAndStaysInsideTheBlock) {
    Array<uint32_t> pixels = filled(8 * 4 + 16, 0x5A5A5A5A);  // an 8 × 4 block, then guard words
    testing::internal::CaptureStdout();
    EXPECT_TRUE(decode(encode(16, 16, gradient), 8, 4, pixels));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "jpegDecode width height mismatch\n");
    for (int32_t i = 0; i < pixels.length(); ++i) {
        if (i < 8 * 4) {
            expectOpaqueNear(pixels[i], gradient(i % 8, i / 8));
        } else {
            EXPECT_EQ(pixels[i], 0x5A5A5A5Au) << "guard " << i;
        }
    }
}

TEST(JpegDecode, SmallerPictureLeavesTheOtherWordsAsTheyWere) {
    Array<uint32_t> pixels = filled(8 * 8, 0x12345678);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(decode(encode(4, 2, gradient), 8, 8, pixels));
    testing::internal::GetCapturedStdout();
    for (int32_t i = 0; i < 8 * 8; ++i) {
        if (i % 8 < 4 && i / 8 < 2) {
            expectOpaqueNear(pixels[i], gradient(i % 8, i / 8));
        } else {
            EXPECT_EQ(pixels[i], 0x12345678u) << "word " << i;
        }
    }
}

// The library either pads the damaged stream and decodes it, or fails and the block is cleared.
void expectDecodedOrCleared(const Bytes& bytes) {
    Array<uint32_t> pixels = filled(16 * 16, 0x12345678);
    const bool decoded = decode(bytes, 16, 16, pixels);
    for (int32_t i = 0; i < pixels.length(); ++i) {
        ASSERT_TRUE(decoded ? pixels[i] >> 24 == 0xFF : pixels[i] == 0) << i << " of " << bytes.size() << " bytes";
    }
}

TEST(JpegDecode, CutOrScrambledDataDecodesOrFailsCleanly) {
    const Bytes whole = encode(16, 16, gradient);
    for (std::size_t cut : {0ul, 1ul, 2ul, 100ul, whole.size() / 2, whole.size() - 100, whole.size() - 2}) {
        expectDecodedOrCleared(Bytes(whole.begin(), whole.begin() + long(cut)));
    }
    Bytes scrambled = whole;
    for (std::size_t i = 160; i < scrambled.size(); i += 7) {
        scrambled[i] ^= 0xA5;
    }
    expectDecodedOrCleared(scrambled);
    expectDecodedOrCleared(Bytes(300, 0xFF));
}

TEST(JpegDecode, FailureSaysOneLineEvenAfterAWarning) {
    const Bytes whole = encode(16, 16, gradient);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(decode(Bytes(whole.begin(), whole.begin() + 100), 16, 16, filled(16 * 16, 0)));  // cut in the tables
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("jpegDecode: ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

TEST(JpegDecode, ForgedHugeProgressivePictureFailsInsteadOfClaimingGigabytes) {
    Bytes jpeg = encode(16, 16, gradient, true);
    std::size_t frame = 2;  // the frame header: marker, length, precision, height, width
    while (frame + 9 < jpeg.size() && !(jpeg[frame] == 0xFF && jpeg[frame + 1] == 0xC2)) {
        ++frame;
    }
    ASSERT_LT(frame + 9, jpeg.size());
    jpeg[frame + 5] = jpeg[frame + 7] = 0xFF;  // 65500 × 65500
    jpeg[frame + 6] = jpeg[frame + 8] = 0xDC;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(decode(jpeg, 16, 16, filled(16 * 16, 0)));
    testing::internal::GetCapturedStdout();
}

TEST(DecodeJpeg, DecodesAtItsOffsetsAndRefusesRangesOutsideItsArrays) {
    const Bytes jpeg = encode(1, 1, plum);
    const auto size = int32_t(jpeg.size());
    Array<uint8_t> data = allocByte(size + 10);
    std::copy(jpeg.begin(), jpeg.end(), data.data() + 10);
    Array<uint32_t> pixels = filled(3, 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(decodeJpeg(data, -1, size, 1, 1, pixels, 2), 0);
    EXPECT_EQ(decodeJpeg(data, 11, size, 1, 1, pixels, 2), 0);
    EXPECT_EQ(decodeJpeg(data, 10, size, 1, 1, pixels, 3), 0);
    EXPECT_EQ(decodeJpeg(data, 10, size, 0, 1, pixels, 2), 0);
    EXPECT_EQ(decodeJpeg(data, 10, size, 65536, 65536, pixels, 0), 0);  // 2^32 pixels: 0 in 32 bits
    EXPECT_EQ(decodeJpeg(data, 10, size, 1, 1, pixels, 0x7FFFFFFF), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(pixels[2], 0u);
    EXPECT_EQ(decodeJpeg(data, 10, size, 1, 1, pixels, 2), 1);
    EXPECT_EQ(pixels[1], 0u);
    expectOpaqueNear(pixels[2], 0x3366CC);
}

}  // namespace
}  // namespace vornel
