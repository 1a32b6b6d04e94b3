// The drawing arithmetic pinned pixel for pixel: hand-made pictures, fills, a gradient and text
// drawn into a small patterned surface through every path, and a 64-bit FNV-1a checksum of
// the result compared with the one the code gave when these were recorded. Any change to the
// output of blit, fillRect, the gradient or the glyph painting fails here, naming the path;
// a faster version of any of them must leave every checksum as it is. Every case runs in each
// table of pixel kernels the machine has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../media/BankFiles.h"
#include "kernels/ScopedPixelKernels.h"
#include "media/Picture.h"
#include "sprites/Drawing.h"
#include "sprites/Psprite.h"
#include "sprites/TextSprite.h"

namespace vornel {
namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
constexpr int32_t kDrawingDepth = 100;
constexpr Fixed kThreeQuarters = 0xAAAA;     // inverse scale of a blit at 0.75
constexpr Fixed kOneAndAHalf = 0x5555;       // inverse scale of a blit at 1.5
constexpr Fixed kHalf = 0x4000;

// A colour that differs from pixel to pixel in every channel.
uint32_t patternColour(uint32_t i) {
    return (i * 2654435761u >> 8) & kColourMask;
}

// The surface: a patterned colour under depth keys taken from depthAt(x, y).
template <typename DepthAt>
Array<uint32_t> surface(DepthAt depthAt) {
    Array<uint32_t> pixels = allocInt<uint32_t>(kWidth * kHeight);
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            pixels[y * kWidth + x] = static_cast<uint32_t>(depthAt(x, y)) << 24 | patternColour(y * kWidth + x);
        }
    }
    return pixels;
}

Array<uint32_t> flatSurface() {
    return surface([](int32_t, int32_t) { return 0; });
}

// 64-bit FNV-1a over the surface's words, low byte first, shown in hex.
std::string checksum(const Array<uint32_t>& pixels) {
    uint64_t hash = 0xCBF29CE484222325u;
    for (int32_t i = 0; i < pixels.length(); ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ (pixels[i] >> shift & 0xFF)) * 0x100000001B3u;
        }
    }
    char text[24];
    std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
    return text;
}

uint32_t word(uint32_t alphaCode, uint32_t colour) {
    return alphaCode << kAlphaShift | colour;
}

// Run counts as the decoder leaves them: along each transparent or opaque run, how many
// pixels of it follow, at most 31; translucent pixels count none.
void countRuns(std::vector<uint32_t>& words) {
    const auto kind = [](uint32_t w) { return w >> kAlphaShift; };
    for (std::size_t i = words.size(); i-- > 0;) {
        const uint32_t code = kind(words[i]);
        const bool runs = code == 0 || code == 7;
        uint32_t following = 0;
        if (runs && i + 1 < words.size() && kind(words[i + 1]) == code) {
            following = std::min<uint32_t>((words[i + 1] >> kRunShift & 31) + 1, kMaxRun);
        }
        words[i] |= following << kRunShift;
    }
}

Ref<Picture> picture(int32_t width, int32_t height, std::vector<uint32_t> words, bool opaque) {
    countRuns(words);
    Ref<Picture> made = new Picture();
    made->m_width = static_cast<int16_t>(width);
    made->m_height = static_cast<int16_t>(height);
    made->m_opaque = opaque ? 1 : 0;
    made->m_pixels = allocInt<uint32_t>(width * height);
    std::copy(words.begin(), words.end(), made->m_pixels.data());
    made->noteTrueRuns();  // as the bank does after decoding
    return made;
}

// 16 × 12, every pixel opaque: blits at natural size and full opacity copy its rows.
Ref<Picture> opaqueBlock() {
    std::vector<uint32_t> words;
    for (uint32_t i = 0; i < 16 * 12; ++i) {
        words.push_back(word(7, patternColour(i + 7)));
    }
    return picture(16, 12, words, true);
}

// 20 × 16, a disc like the ball: transparent runs around it, a ring of translucent pixels
// of every alpha code 1..6 (colours premultiplied), opaque inside.
Ref<Picture> disc() {
    std::vector<uint32_t> words;
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            const int32_t distance = (2 * x - 19) * (2 * x - 19) + (2 * y - 15) * (2 * y - 15);  // in half pixels
            const uint32_t colour = (x * 13 & 0xFF) << 16 | (y * 17 & 0xFF) << 8 | 0x40;
            if (distance > 225) {
                words.push_back(0);
            } else if (distance > 130) {
                const auto code = static_cast<uint32_t>(1 + (x + y) % 6);
                const auto premultiply = [code](uint32_t channel) { return channel * code / 8; };
                words.push_back(word(code, premultiply(colour >> 16) << 16 | premultiply(colour >> 8 & 0xFF) << 8 |
                                               premultiply(colour & 0xFF)));
            } else {
                words.push_back(word(7, colour));
            }
        }
    }
    return picture(20, 16, words, false);
}

// Blits with the clip (left, top, right, bottom) and the picture's corner at pixel (x, y).
struct Blit {
    int32_t x;
    int32_t y;
    Fixed inverseScale = kFixedOne;
    Fixed opacity = kFixedOne;
    int32_t clipLeft = 0;
    int32_t clipTop = 0;
    int32_t clipRight = kWidth;
    int32_t clipBottom = kHeight;
};

class RenderChecksum : public testing::TestWithParam<const PixelKernels*> {
protected:
    ScopedPixelKernels m_kernels{*GetParam()};
};

int32_t draw(Picture& picture, const Array<uint32_t>& pixels, const Blit& blit) {
    return picture.blit(pixels, kWidth, kHeight, blit.clipLeft, blit.clipTop, blit.clipRight, blit.clipBottom,
                        toFixed(blit.x), toFixed(blit.y), blit.inverseScale, kDrawingDepth, blit.opacity);
}

TEST_P(RenderChecksum, OpaquePicturesAtNaturalSizeCopyTheirRows) {
    const Array<uint32_t> pixels = flatSurface();
    Ref<Picture> block = opaqueBlock();
    EXPECT_EQ(draw(*block, pixels, {2, 3}), 0);
    EXPECT_EQ(draw(*block, pixels, {-5, 40}), 0);                         // cut by the surface's edges
    EXPECT_EQ(draw(*block, pixels, {30, 10, kFixedOne, kFixedOne, 33, 12, 41, 19}), 0);  // by the clip
    EXPECT_EQ(checksum(pixels), "0x2981C1C12A37A6DD");
}

TEST_P(RenderChecksum, SampledBlitsSkipTransparentRunsAndBlendTranslucentEdges) {
    const Array<uint32_t> pixels = flatSurface();
    Ref<Picture> ball = disc();
    EXPECT_EQ(draw(*ball, pixels, {5, 4}), 0);
    EXPECT_EQ(draw(*ball, pixels, {14, 9}), 0);  // over itself: the second ring blends over the first
    EXPECT_EQ(draw(*ball, pixels, {50, -6}), 0);
    EXPECT_EQ(draw(*ball, pixels, {30, 30, kFixedOne, kFixedOne, 36, 31, 47, 42}), 0);
    EXPECT_EQ(checksum(pixels), "0x8186451D6D8BB6E5");
}

TEST_P(RenderChecksum, BlitsScaledDownToThreeQuarters) {
    const Array<uint32_t> pixels = flatSurface();
    Ref<Picture> ball = disc();
    Ref<Picture> block = opaqueBlock();
    EXPECT_EQ(draw(*ball, pixels, {3, 2, kThreeQuarters}), 0);
    EXPECT_EQ(draw(*block, pixels, {25, 20, kThreeQuarters}), 0);
    EXPECT_EQ(draw(*ball, pixels, {55, 40, kThreeQuarters}), 0);
    EXPECT_EQ(checksum(pixels), "0xA923CB90349F2A94");
}

TEST_P(RenderChecksum, BlitsScaledUpToOneAndAHalf) {
    const Array<uint32_t> pixels = flatSurface();
    Ref<Picture> ball = disc();
    Ref<Picture> block = opaqueBlock();
    EXPECT_EQ(draw(*ball, pixels, {1, 1, kOneAndAHalf}), 0);
    EXPECT_EQ(draw(*block, pixels, {36, 20, kOneAndAHalf}), 0);
    EXPECT_EQ(draw(*ball, pixels, {-7, 33, kOneAndAHalf, kFixedOne, 0, 0, 20, kHeight}), 0);
    EXPECT_EQ(checksum(pixels), "0xD20CA3336E349AB6");
}

TEST_P(RenderChecksum, BlitsAtHalfOpacityMixEveryChannel) {
    const Array<uint32_t> pixels = flatSurface();
    Ref<Picture> ball = disc();
    Ref<Picture> block = opaqueBlock();
    EXPECT_EQ(draw(*ball, pixels, {4, 6, kFixedOne, kHalf}), 0);
    EXPECT_EQ(draw(*block, pixels, {30, 8, kFixedOne, kHalf}), 0);  // not a row copy at half opacity
    EXPECT_EQ(draw(*ball, pixels, {34, 24, kThreeQuarters, 0x2000}), 0);
    EXPECT_EQ(checksum(pixels), "0xAFCE5929B220D264");
}

TEST_P(RenderChecksum, NearerSurfacePixelsHideThePicture) {
    // Depth 20 is nearer than the drawing depth and hides it; 0 and 200 do not.
    const Array<uint32_t> pixels = surface([](int32_t x, int32_t y) {
        return (x + 2 * y) % 5 == 0 ? 20 : x > 40 ? 200 : 0;
    });
    Ref<Picture> ball = disc();
    Ref<Picture> block = opaqueBlock();
    const std::vector<int32_t> hidden = {draw(*ball, pixels, {2, 2}), draw(*ball, pixels, {36, 10, kOneAndAHalf}),
                                         draw(*block, pixels, {10, 28, kThreeQuarters}),
                                         draw(*block, pixels, {44, 30, kFixedOne, kHalf})};
    EXPECT_EQ(hidden, (std::vector<int32_t>{35, 79, 26, 38}));
    EXPECT_EQ(checksum(pixels), "0x8852442AFBD5E92B");
}

TEST_P(RenderChecksum, FillsInEveryBlendingMode) {
    const Array<uint32_t> pixels = flatSurface();
    Drawing::fillRect(surfaceOf(pixels, kWidth, kHeight), {0, 0, kWidth, kHeight}, 0x00FFFFFF);  // writes nothing
    Drawing::fillRect(surfaceOf(pixels, kWidth, kHeight), {2, 3, 30, 20}, 0xFF336699);
    Drawing::fillRect(surfaceOf(pixels, kWidth, kHeight), {20, 10, 50, 30}, 0x80C08040);
    Drawing::fillRect(surfaceOf(pixels, kWidth, kHeight), {40, 5, 70, 44}, 0xC01090F0);
    Drawing::fillRect(surfaceOf(pixels, kWidth, kHeight), {-4, 25, 35, 52}, 0x60FFCC00);
    Drawing::fillRect(surfaceOf(pixels, kWidth, kHeight), {10, 35, 60, 45},
                      Drawing::withOpacity(0xFF80FF80, 0x5000));
    EXPECT_EQ(checksum(pixels), "0x28FAA834C5C91BB3");
}

TEST_P(RenderChecksum, GradientsRunRowByRowInsideTheClip) {
    const Array<uint32_t> pixels = flatSurface();
    Ref<Psprite> panel = new Psprite(4, 2, 50, 40, 0xFF203080);
    panel->setColor2(0xFFF0C010);
    panel->layout(0, 0, kFixedOne);
    panel->draw(pixels, kWidth, kHeight, 4, 2, 54, 42, kFixedOne);
    Ref<Psprite> dark = new Psprite(30, 20, 30, 30, 0xFFFFFFFF);
    dark->setColor2(0xFF000000);
    dark->layout(0, 0, kFixedOne);
    dark->draw(pixels, kWidth, kHeight, 35, 25, 60, kHeight, kFixedOne);  // clipped: starts mid-way
    EXPECT_EQ(checksum(pixels), "0x184B5EA6755B9EAB");
}

// A font made here: space 3, line height 9; 'A' five pixels wide and 'B' four, both nine rows
// of every coverage level, faint and solid, so both shadow shades and the blend are drawn.
Ref<Font> handMadeFont(test::BankFolder& folder) {
    const auto glyphRuns = [](int32_t pixels, int32_t seed) {
        test::Bytes runs;
        for (int32_t i = 0; i < pixels;) {
            const int32_t count = 1 + (i + seed) % 3;
            runs.push_back(static_cast<uint8_t>(count << 4 | (i * 7 + seed) % 16));
            i += count;
        }
        return runs;
    };
    const test::Bytes a = glyphRuns(5 * 9, 1);
    const test::Bytes b = glyphRuns(4 * 9, 4);
    test::Bytes file;
    for (uint32_t value : {3u, 9u, 0u, uint32_t{'A'}, uint32_t{'B'}, uint32_t(a.size()), 5u, uint32_t(b.size()), 4u,
                           uint32_t(a.size() + b.size())}) {
        test::appendVarInt(file, value);
    }
    file.insert(file.end(), a.begin(), a.end());
    file.insert(file.end(), b.begin(), b.end());
    folder.writeFile("f15.bin", file);
    Ref<Font> font = new Font();
    return font->load(*String::fromLiteral("f15.bin")) ? font : nullptr;
}

TEST_P(RenderChecksum, TextIsPaintedWithItsShadowAndBlendedWhenTranslucent) {
    test::BankFolder folder;
    Ref<Font> font = handMadeFont(folder);
    ASSERT_TRUE(font);
    const Array<uint32_t> pixels = flatSurface();
    Ref<TextSprite> opaque = new TextSprite();
    opaque->setFontAndText(font, String::fromLiteral("AB\tBA\nBAAB"));
    opaque->setTextColor(0xFFFFF0E0);
    opaque->setPosition(2, 3);
    opaque->layout(0, 0, kFixedOne);
    opaque->draw(pixels, kWidth, kHeight, 0, 0, 20, 18, kFixedOne);  // the clip cuts glyphs and their shadows
    Ref<TextSprite> faint = new TextSprite();
    faint->setFontAndText(font, String::fromLiteral("ABBA AB"));
    faint->setTextColor(0xFF2040FF);
    faint->setPosition(20, 28);
    faint->layout(0, 0, kFixedOne);
    faint->draw(pixels, kWidth, kHeight, 24, 30, 60, 36, 0x6000);  // clipped, at 3/4 opacity: no shadow
    EXPECT_EQ(checksum(pixels), "0xFADFBE88ACCCC62A");
}

INSTANTIATE_TEST_SUITE_P(Kernels, RenderChecksum, testing::ValuesIn(PixelKernels::supported()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace vornel
