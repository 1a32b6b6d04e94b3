// JPEG compression: the shared header, and bleeding under transparency.
#include "bank/JpegEncoder.h"

#include <gtest/gtest.h>

#include <string>

#include "TestPictures.h"
#include "bank/ColourBleed.h"
#include "media/JpegDecode.h"

namespace vornel {
namespace {

using namespace test;

Bytes encode(const RgbaImage& image) {
    Bytes jpeg;
    std::string error;
    EXPECT_TRUE(JpegEncoder::encode(image, jpeg, error)) << error;
    return jpeg;
}

Words decode(const Bytes& jpeg, const RgbaImage& image) {
    Words pixels(static_cast<std::size_t>(image.pixelCount()));
    EXPECT_TRUE(jpegDecode(jpeg.data(), jpeg.size(), image.width(), image.height(), pixels.data()));
    return pixels;
}

TEST(JpegEncoder, PicturesOfAnySizeShareTheFirst623BytesButTheSize) {
    const Bytes small = encode(RgbaImage(16, 8, kRed));
    const Bytes large = encode(noise(33, 70));
    ASSERT_GT(large.size(), small.size());
    for (std::size_t i = 0; i < 623; ++i) {
        if (i < 163 || i > 166) {
            EXPECT_EQ(small[i], large[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(Bytes(small.begin() + 163, small.begin() + 167), Bytes({0, 8, 0, 16}));
    EXPECT_EQ(Bytes(large.begin() + 163, large.begin() + 167), Bytes({0, 70, 0, 33}));
    // The last marker before the compressed data is the scan header, FF DA with length 12.
    EXPECT_EQ(Bytes(large.begin() + 609, large.begin() + 613), Bytes({0xFF, 0xDA, 0x00, 0x0C}));
    EXPECT_EQ(Bytes(large.end() - 2, large.end()), Bytes({0xFF, 0xD9}));
}

TEST(JpegEncoder, ABlackTransparentSurroundDoesNotDarkenTheVisibleEdge) {
    RgbaImage image(16, 16, kClear);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 5; x < 16; ++x) {
            image.setPixel(x, y, 0xFFE02010);
        }
    }
    const Words pixels = decode(encode(image), image);
    for (int32_t y = 0; y < 16; ++y) {
        // Without bleeding, chroma shared with the black pixels makes the edge 0xB0352D.
        const uint32_t edge = pixels[static_cast<std::size_t>(y * 16 + 5)];
        for (int shift = 0; shift <= 16; shift += 8) {
            EXPECT_NEAR(static_cast<int>(edge >> shift & 0xFF), static_cast<int>(0xE02010 >> shift & 0xFF), 6) << "row " << y;
        }
    }
}

TEST(ColourBleed, HiddenPixelsTakeTheColourOfTheNearestVisibleOnes) {
    RgbaImage image = row({kClear, kClear, kRed, withCode(0x123456, 0), 0x80F80000 | 0x00F8, kClear});
    ColourBleed::bleedUnderTransparency(image);
    // The fourth pixel sits between red and magenta, and takes their mean.
    EXPECT_EQ(image.pixels(), Words({0xF80000, 0xF80000, kRed, 0xF8007C, 0x80F800F8, 0xF800F8}));
}

TEST(ColourBleed, APictureWithNothingVisibleIsLeftAlone) {
    RgbaImage image = row({0x00123456, kClear});
    ColourBleed::bleedUnderTransparency(image);
    EXPECT_EQ(image.pixels(), Words({0x00123456, kClear}));
}

}  // namespace
}  // namespace vornel
