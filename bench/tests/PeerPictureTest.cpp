// The peers' copies of a picture: alpha codes as 8-bit alphas, premultiplied colours kept
// valid for pixman, straight colours for SDL, and both images holding those words.
#include "PeerPicture.h"

#include <gtest/gtest.h>

namespace vornel::bench {
namespace {

uint32_t word(uint32_t alphaCode, uint32_t colour) {
    return alphaCode << kAlphaShift | colour;
}

TEST(PeerPicture, AlphaCodesBecomeEighthsAndSevenBecomesOpaque) {
    EXPECT_EQ(PeerPicture::alphaOf(word(0, 0x123456)), 0u);
    EXPECT_EQ(PeerPicture::alphaOf(word(1, 0)), 32u);
    EXPECT_EQ(PeerPicture::alphaOf(word(6, 0)), 192u);
    EXPECT_EQ(PeerPicture::alphaOf(word(7, 0) | 31u << kRunShift), 255u);  // the run count is not alpha
}

TEST(PeerPicture, PremultipliedColoursNeverExceedTheirAlpha) {
    EXPECT_EQ(PeerPicture::premultiplied(word(7, 0xFF8001)), 0xFFFF8001u);
    EXPECT_EQ(PeerPicture::premultiplied(word(4, 0x402080)), 0x80402080u);
    // The game's coarse steps can leave 3/4 of a colour under alpha 5/8: cut to the alpha.
    EXPECT_EQ(PeerPicture::premultiplied(word(5, 0xBF10A0)), 0xA0A010A0u);
    EXPECT_EQ(PeerPicture::premultiplied(word(0, 0x303030)), 0u);
}

TEST(PeerPicture, StraightColoursUndoThePremultiplication) {
    EXPECT_EQ(PeerPicture::straight(word(7, 0x102030)), 0xFF102030u);
    EXPECT_EQ(PeerPicture::straight(word(4, 0x402000)), 0x807F3F00u);  // 64 × 255 / 128 = 127
    EXPECT_EQ(PeerPicture::straight(word(2, 0x7F0000)), 0x40FF0000u);  // over the alpha: full
    EXPECT_EQ(PeerPicture::straight(word(0, 0xFFFFFF)), 0u);
}

TEST(PeerPicture, BothImagesHoldTheConvertedPixels) {
    Ref<Picture> picture = new Picture();
    picture->m_width = 2;
    picture->m_height = 2;
    picture->m_pixels = allocInt<uint32_t>(4);
    const uint32_t words[] = {word(7, 0x112233), word(0, 0), word(4, 0x402010), word(7, 0xFFFFFF)};
    std::copy(words, words + 4, picture->m_pixels.data());
    PeerPicture peer(*picture);
    ASSERT_TRUE(peer.isReady());
    EXPECT_EQ(pixman_image_get_width(peer.pixman()), 2);
    EXPECT_EQ(peer.sdl()->format->format, static_cast<uint32_t>(SDL_PIXELFORMAT_ARGB8888));
    for (int32_t i = 0; i < 4; ++i) {
        const auto* sdlRow = static_cast<uint32_t*>(peer.sdl()->pixels) + (i / 2) * peer.sdl()->pitch / 4;
        EXPECT_EQ(pixman_image_get_data(peer.pixman())[i], PeerPicture::premultiplied(words[i])) << i;
        EXPECT_EQ(sdlRow[i % 2], PeerPicture::straight(words[i])) << i;
    }
}

TEST(PeerPicture, AnEmptyPictureMakesNoImages) {
    Ref<Picture> empty = new Picture();
    EXPECT_FALSE(PeerPicture(*empty).isReady());
}

}  // namespace
}  // namespace vornel::bench
