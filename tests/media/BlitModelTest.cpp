// The blit against a plain model of what it draws, one pixel at a time, over many random
// pictures, surfaces, places, clips, scales, depths and opacities. The blit draws four pixels
// at a time where it can; every word of the surface and the hidden count must still come out
// as the model says, including words no real picture holds (colours past their alpha, run
// counts that do not match the run, depth keys above the drawing depth's byte). Each case runs
// in every table of pixel kernels the machine has: a pixel at a time, four and eight at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "kernels/ScopedPixelKernels.h"
#include "media/Picture.h"

namespace vornel {
namespace {

using Words = std::vector<uint32_t>;

// ---- The model ----

uint32_t modelUnderlay(uint32_t under, uint32_t alpha) {
    const uint32_t eighth = under >> 3 & 0x1F1F1F;
    const uint32_t quarter = under >> 2 & 0x3F3F3F;
    const uint32_t half = under >> 1 & 0x7F7F7F;
    const uint32_t parts[] = {0, (under & kColourMask) - eighth, quarter + half, eighth + half, half,
                              quarter + eighth, quarter};
    return parts[alpha];
}

uint32_t modelFade(uint32_t pixel, uint32_t alpha, uint32_t under, Fixed opacity) {
    const Fixed shown = alpha == 7 ? opacity : (static_cast<Fixed>(alpha) * opacity) >> 3;
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto source = static_cast<int32_t>(pixel >> shift & 0xFF);
        const auto target = static_cast<int32_t>(under >> shift & 0xFF);
        mixed |= static_cast<uint32_t>((source * opacity + target * (kFixedOne - shown)) >> kFixedShift) << shift;
    }
    return mixed & kColourMask;
}

struct Placement {
    int32_t clipLeft;
    int32_t clipTop;
    int32_t clipRight;
    int32_t clipBottom;
    int32_t x;  // surface pixel of the picture's corner
    int32_t y;
    Fixed inverseScale;
    int32_t depth;
    Fixed opacity;
};

// The surface columns or rows [low, high) whose samples fall inside `size` picture pixels.
void modelAxis(int32_t& low, int32_t& high, int32_t limit, int32_t origin, int32_t size, Fixed inverseScale) {
    const int64_t span = ((static_cast<int64_t>(size) << kFixedShift) + inverseScale - 1) / inverseScale;
    low = static_cast<int32_t>(std::max<int64_t>({low, 0, origin}));
    high = static_cast<int32_t>(std::min<int64_t>({high, limit, origin + span}));
}

// What the blit draws for a picture that is not flagged opaque (so no row copies).
int32_t modelBlit(const Words& picture, int32_t width, int32_t height, Words& surface, int32_t stride,
                  const Placement& at) {
    int32_t left = at.clipLeft;
    int32_t right = at.clipRight;
    int32_t top = at.clipTop;
    int32_t bottom = at.clipBottom;
    modelAxis(left, right, stride, at.x, width, at.inverseScale);
    modelAxis(top, bottom, static_cast<int32_t>(surface.size()) / stride, at.y, height, at.inverseScale);
    const int32_t scale = (1 << 30) / at.inverseScale;
    const uint32_t depthKey = static_cast<uint32_t>(at.depth & 0xFF) << 24;
    int32_t hidden = 0;
    for (int32_t y = top; y < bottom; ++y) {
        const int32_t pictureRow = ((y - at.y) * at.inverseScale) >> kFixedShift;
        for (int32_t x = left; x < right;) {
            const int32_t column = ((x - at.x) * at.inverseScale) >> kFixedShift;
            const uint32_t pixel = picture[pictureRow * width + column];
            const uint32_t alpha = pixel >> kAlphaShift;
            if (alpha == 0) {
                x += static_cast<int32_t>((static_cast<int64_t>(pixel >> kRunShift) * scale) >> kFixedShift) + 1;
                continue;
            }
            uint32_t& target = surface[y * stride + x];
            const auto underDepth = static_cast<int32_t>(target >> 24);
            if (underDepth != 0 && underDepth < at.depth) {
                ++hidden;
            } else if (at.opacity == kFixedOne) {
                const uint32_t source = (pixel & kColourMask) | depthKey;
                target = alpha == 7 ? source : source + modelUnderlay(target, alpha);
            } else {
                target = modelFade(pixel, alpha, target, at.opacity);
            }
            ++x;
        }
    }
    return hidden;
}

// ---- Random cases ----

class RandomCases {
public:
    explicit RandomCases(uint32_t seed) : m_random(seed) {}

    int32_t between(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(m_random); }
    uint32_t word() { return static_cast<uint32_t>(m_random()); }
    template <typename T>
    T oneOf(const std::vector<T>& choices) {
        return choices[static_cast<std::size_t>(between(0, static_cast<int32_t>(choices.size()) - 1))];
    }

    // Rows of transparent, translucent and opaque runs; run counts as the decoder sets them,
    // or, in one picture of four, anything at all.
    Words picture(int32_t width, int32_t height) {
        const bool wildRuns = between(0, 3) == 0;
        Words words(static_cast<std::size_t>(width) * height);
        uint32_t code = 0;
        for (uint32_t& w : words) {
            if (between(0, 4) == 0) {
                code = static_cast<uint32_t>(oneOf<int32_t>({0, 0, 1, 2, 3, 4, 5, 6, 7, 7}));
            }
            w = code << kAlphaShift | (wildRuns ? word() & 0x1F000000 : 0) | (word() & kColourMask);
        }
        if (!wildRuns) {
            for (std::size_t i = words.size(); i-- > 0;) {
                const uint32_t kind = words[i] >> kAlphaShift;
                if ((kind == 0 || kind == 7) && i + 1 < words.size() && words[i + 1] >> kAlphaShift == kind) {
                    const uint32_t following = std::min<uint32_t>((words[i + 1] >> kRunShift & 31) + 1, kMaxRun);
                    words[i] |= following << kRunShift;
                }
            }
        }
        return words;
    }

    // Surface words whose depth byte is often 0, sometimes anything.
    Words surface(std::size_t size) {
        Words words(size);
        for (uint32_t& w : words) {
            w = between(0, 2) == 0 ? word() : word() & kColourMask;
        }
        return words;
    }

    Placement placement(int32_t stride, int32_t rows) {
        Placement at{};
        at.clipLeft = between(-3, stride);
        at.clipTop = between(-3, rows);
        at.clipRight = between(at.clipLeft, stride + 3);
        at.clipBottom = between(at.clipTop, rows + 3);
        at.x = between(-20, stride);
        at.y = between(-20, rows);
        at.inverseScale = oneOf<Fixed>({kFixedOne, kFixedOne, kFixedOne, 0xAAAA, 0x5555, 0x10000, 0x4000, 0x8001,
                                        0x7FFF, 0x1000, between(0x2000, 0x20000)});
        at.depth = oneOf<int32_t>({50, 50, 0, 1, 255, 256, 300, -4, between(0, 255)});
        at.opacity = oneOf<Fixed>({kFixedOne, kFixedOne, 0x4000, 0x2000, 0, 1, 0x7FFF, between(0, kFixedOne),
                                   -0x100, 0x9000, between(-0x10000, 0x10000)});
        return at;
    }

private:
    std::mt19937 m_random;
};

Array<uint32_t> array(const Words& words) {
    Array<uint32_t> result = allocInt<uint32_t>(static_cast<int32_t>(words.size()));
    std::copy(words.begin(), words.end(), result.data());
    return result;
}

Ref<Picture> pictureOf(int32_t width, int32_t height, const Words& words) {
    Ref<Picture> made = new Picture();
    made->m_width = static_cast<int16_t>(width);
    made->m_height = static_cast<int16_t>(height);
    made->m_pixels = array(words);
    made->noteTrueRuns();  // pictures with true run counts draw without skipping runs at natural size
    return made;
}

// Runs `count` random blits; the first difference fails the test with the case's numbers.
void expectBlitsAsModelled(uint32_t seed, int32_t count, int32_t maxSide) {
    RandomCases random(seed);
    for (int32_t n = 0; n < count; ++n) {
        const int32_t width = random.between(1, maxSide);
        const int32_t height = random.between(1, 12);
        const int32_t stride = random.between(1, maxSide + 8);
        const int32_t rows = random.between(1, 16);
        const Words words = random.picture(width, height);
        const Words before = random.surface(static_cast<std::size_t>(stride) * rows);
        const Placement at = random.placement(stride, rows);

        Words expected = before;
        const int32_t expectedHidden = modelBlit(words, width, height, expected, stride, at);
        const Array<uint32_t> surface = array(before);
        const int32_t hidden = pictureOf(width, height, words)->blit(
            surface, stride, rows, at.clipLeft, at.clipTop, at.clipRight, at.clipBottom, toFixed(at.x),
            toFixed(at.y), at.inverseScale, at.depth, at.opacity);

        const Words drawn(surface.data(), surface.data() + surface.length());
        ASSERT_EQ(drawn, expected) << "case " << n << ": picture " << width << "x" << height << " at " << at.x << ","
                                   << at.y << " scale 0x" << std::hex << at.inverseScale << " opacity 0x"
                                   << at.opacity << std::dec << " depth " << at.depth;
        ASSERT_EQ(hidden, expectedHidden) << "case " << n;
    }
}

// Draws through one table of pixel kernels for a test.
class BlitModel : public testing::TestWithParam<const PixelKernels*> {
protected:
    ScopedPixelKernels m_kernels{*GetParam()};
};

TEST_P(BlitModel, SmallPicturesDrawAsModelled) {
    expectBlitsAsModelled(1, 4000, 12);
}

TEST_P(BlitModel, WidePicturesDrawAsModelled) {
    expectBlitsAsModelled(2, 1500, 90);
}

// Long opaque and translucent runs over a surface that hides every other pixel: every block
// of four or eight mixes drawn and hidden lanes.
TEST_P(BlitModel, AlternatingDepthsHideEveryOtherPixel) {
    Words words(40 * 3);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const uint32_t colour = static_cast<uint32_t>(i * 0x050A0F) & kColourMask;
        words[i] = static_cast<uint32_t>(1 + i % 7) << kAlphaShift | colour;
    }
    for (Fixed opacity : {kFixedOne, Fixed{0x3000}}) {
        Words before(48 * 4);
        for (std::size_t i = 0; i < before.size(); ++i) {
            before[i] = (i % 2 == 0 ? 0x0A000000u : 0u) | (static_cast<uint32_t>(i * 0x030507) & kColourMask);
        }
        Words expected = before;
        const Placement at{0, 0, 48, 4, 3, 1, kFixedOne, 20, opacity};
        const int32_t expectedHidden = modelBlit(words, 40, 3, expected, 48, at);
        const Array<uint32_t> surface = array(before);
        EXPECT_EQ(pictureOf(40, 3, words)->blit(surface, 48, 4, 0, 0, 48, 4, toFixed(3), toFixed(1), kFixedOne, 20,
                                                opacity),
                  expectedHidden);
        EXPECT_EQ(expectedHidden, 60);
        EXPECT_EQ(Words(surface.data(), surface.data() + surface.length()), expected);
    }
}

// Opaque pictures at natural size and full opacity copy their words, alpha and run bits
// landing in the depth byte, into the clipped area: rows of every width and alignment.
TEST_P(BlitModel, OpaquePicturesCopyTheirWordsRowByRow) {
    RandomCases random(3);
    for (int32_t n = 0; n < 600; ++n) {
        const int32_t width = random.between(1, 90);
        const int32_t height = random.between(1, 6);
        const int32_t stride = random.between(1, 100);
        const int32_t rows = random.between(1, 8);
        Words words(static_cast<std::size_t>(width) * height);
        for (uint32_t& word : words) {
            word = kOpaqueAlpha | (random.word() & 0x1FFFFFFF);
        }
        const Words before = random.surface(static_cast<std::size_t>(stride) * rows);
        Placement at = random.placement(stride, rows);
        at.inverseScale = kFixedOne;
        at.opacity = kFixedOne;

        Words expected = before;
        int32_t left = at.clipLeft;
        int32_t right = at.clipRight;
        int32_t top = at.clipTop;
        int32_t bottom = at.clipBottom;
        modelAxis(left, right, stride, at.x, width, kFixedOne);
        modelAxis(top, bottom, rows, at.y, height, kFixedOne);
        for (int32_t y = top; y < bottom; ++y) {
            for (int32_t x = left; x < right; ++x) {
                expected[static_cast<std::size_t>(y * stride + x)] =
                    words[static_cast<std::size_t>((y - at.y) * width + (x - at.x))];
            }
        }
        const Ref<Picture> picture = pictureOf(width, height, words);
        picture->m_opaque = 1;
        const Array<uint32_t> surface = array(before);
        EXPECT_EQ(picture->blit(surface, stride, rows, at.clipLeft, at.clipTop, at.clipRight, at.clipBottom,
                                toFixed(at.x), toFixed(at.y), kFixedOne, at.depth, kFixedOne),
                  0);
        ASSERT_EQ(Words(surface.data(), surface.data() + surface.length()), expected)
            << "case " << n << ": " << width << "x" << height << " at "
            << at.x << "," << at.y;
    }
}

// Run counts are true when no transparent pixel's count reaches past a pixel of its row that
// is not transparent; past the row's end any count is true.
TEST(TrueRuns, AreThoseThatPassTransparentPixelsOnly) {
    const uint32_t opaque = kOpaqueAlpha | 0x123456;
    const auto run = [](uint32_t count) { return count << kRunShift; };
    const auto trueRunsOf = [](int32_t width, int32_t height, const Words& words) {
        return pictureOf(width, height, words)->m_trueRuns;
    };
    EXPECT_EQ(trueRunsOf(4, 2, {run(1), run(0), opaque, run(31), opaque, run(2), run(1), run(0)}), 1);
    EXPECT_EQ(trueRunsOf(4, 1, {run(2), run(0), opaque, opaque}), 0);  // reaches over column 2
    EXPECT_EQ(trueRunsOf(2, 2, {opaque, run(5), opaque, run(0)}), 1);  // past the row's end
    EXPECT_EQ(trueRunsOf(3, 1, {opaque, run(1), run(0)}), 1);
    EXPECT_EQ(trueRunsOf(3, 1, {run(1), run(1), opaque}), 0);  // the second count is wrong
    EXPECT_EQ(trueRunsOf(3, 1, {opaque, opaque, opaque}), 1);
}

// With true runs each row notes the columns from its first pixel that is not transparent to
// one past its last, which unscaled blits walk; a row with none notes 0.
TEST(TrueRuns, NoteEachRowsSpanOfPixelsThatAreNotTransparent) {
    const uint32_t opaque = kOpaqueAlpha | 0x123456;
    const uint32_t translucent = 3u << kAlphaShift | 0x101010;
    const Ref<Picture> picture = pictureOf(5, 3, {0, translucent, 0, opaque, 0,  //
                                                  0, 0, 0, 0, 0,                 //
                                                  opaque, 0, 0, 0, translucent});
    ASSERT_EQ(picture->m_trueRuns, 1);
    EXPECT_EQ(picture->m_contentSpans, (std::vector<uint32_t>{1 | 4 << 16, 0, 0 | 5 << 16}));
}

INSTANTIATE_TEST_SUITE_P(Kernels, BlitModel, testing::ValuesIn(PixelKernels::supported()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace vornel
