// The copy into display memory against a plain model of it, one pixel at a time: random
// surfaces, frames, paints and windows, upright and turned either way. The copy converts many
// pixels at a time and walks turned frames in tiles; the frame must still come out word for
// word as the model says, with nothing written outside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "kernels/ScopedPixelKernels.h"
#include "shell/DisplayMemory.h"

namespace vornel {
namespace {

using Pixels = std::vector<uint16_t>;
constexpr uint16_t kUntouched = 0xBEEF;

struct Copy {
    int32_t surfaceWidth;
    int32_t surfaceHeight;
    int32_t frameWidth;
    int32_t frameHeight;
    Rect paint;
    Rect window;
    bool sameWidth;
};

uint16_t model565(uint32_t pixel) {
    return static_cast<uint16_t>((pixel >> 8 & 0xF800) | (pixel >> 5 & 0x07E0) | (pixel >> 3 & 0x001F));
}

// Each source pixel of the paint that lies on the surface and inside the window goes to its
// frame place, if that lies on the frame (x stride 1, y stride the frame's width).
void modelCopy(const std::vector<uint32_t>& surface, Pixels& frame, const Copy& copy, int32_t orientation) {
    const int32_t rows = std::min({copy.paint.bottom, copy.surfaceHeight, copy.window.bottom - copy.window.top});
    const int32_t cols = std::min({copy.paint.right, copy.surfaceWidth, copy.window.right - copy.window.left});
    for (int32_t y = std::max(copy.paint.top, 0); y < rows; ++y) {
        for (int32_t x = std::max(copy.paint.left, 0); x < cols; ++x) {
            const int64_t along = int64_t{copy.window.left} + x;  // window coordinates
            const int64_t down = int64_t{copy.window.top} + y;
            int64_t frameX = along;
            int64_t frameY = down;
            if (!copy.sameWidth) {
                frameX = orientation == Platform::kOrientation270 ? copy.frameWidth - 1 - down : down;
                frameY = orientation == Platform::kOrientation270 ? along : copy.frameHeight - 1 - along;
                if (along < 0 || along >= copy.frameHeight || down < 0 || down >= copy.frameWidth) {
                    continue;
                }
            } else if (along < 0 || along >= copy.frameWidth || down < 0 || down >= copy.frameHeight) {
                continue;
            }
            frame[static_cast<std::size_t>(frameY * copy.frameWidth + frameX)] =
                model565(surface[static_cast<std::size_t>(y) * copy.surfaceWidth + x]);
        }
    }
}

// The copies in each table of pixel kernels the machine has.
class DisplayMemoryModel : public test::ShellFixture, public testing::WithParamInterface<const PixelKernels*> {
protected:
    void expectRandomCopiesAsModelled();

    ScopedPixelKernels m_kernels{*GetParam()};
};

TEST_P(DisplayMemoryModel, RandomCopiesLandAsModelled) {
    expectRandomCopiesAsModelled();
}

INSTANTIATE_TEST_SUITE_P(Kernels, DisplayMemoryModel, testing::ValuesIn(PixelKernels::supported()),
                         [](const auto& info) { return std::string(info.param->name); });

void DisplayMemoryModel::expectRandomCopiesAsModelled() {
    std::mt19937 random(11);
    const auto between = [&random](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    constexpr int32_t kGuard = 8;  // frame words after the frame, which must stay untouched
    for (int32_t n = 0; n < 2000; ++n) {
        const int32_t orientation =
            between(0, 1) == 0 ? Platform::kOrientation270 : Platform::kOrientation90;
        platform.orientation = orientation;
        Copy copy{between(1, 70), between(1, 50), between(1, 70), between(1, 50), {}, {}, between(0, 2) != 0};
        copy.paint = {between(-5, copy.surfaceWidth), between(-5, copy.surfaceHeight), 0, 0};
        copy.paint.right = between(copy.paint.left, copy.surfaceWidth + 5);
        copy.paint.bottom = between(copy.paint.top, copy.surfaceHeight + 5);
        copy.window = {between(-20, 40), between(-20, 40), 0, 0};
        copy.window.right = copy.window.left + between(0, 80);
        copy.window.bottom = copy.window.top + between(0, 80);
        if (between(0, 3) == 0) {  // a whole-frame paint, as the game's full repaints are
            copy.surfaceWidth = copy.frameWidth;
            copy.paint = {0, 0, copy.surfaceWidth, copy.surfaceHeight};
            copy.window = {0, 0, copy.surfaceWidth, copy.surfaceHeight};
            copy.sameWidth = true;
        }
        std::vector<uint32_t> surface(static_cast<std::size_t>(copy.surfaceWidth) * copy.surfaceHeight);
        for (uint32_t& pixel : surface) {
            pixel = static_cast<uint32_t>(random());
        }

        Pixels expected(static_cast<std::size_t>(copy.frameWidth) * copy.frameHeight + kGuard, kUntouched);
        modelCopy(surface, expected, copy, orientation);
        Pixels frame(expected.size(), kUntouched);
        DisplayMemory::copyToFrameBuffer(platform, Surface32{surface.data(), copy.surfaceWidth, copy.surfaceHeight},
                                         {{frame.data(), copy.frameWidth, copy.frameHeight}, copy.frameWidth, 1},
                                         copy.paint, copy.window, copy.sameWidth);
        ASSERT_EQ(frame, expected) << "copy " << n << ": surface " << copy.surfaceWidth << "x" << copy.surfaceHeight
                                   << ", frame " << copy.frameWidth << "x" << copy.frameHeight
                                   << (copy.sameWidth ? " upright" : " turned") << " " << orientation;
    }
}

}  // namespace
}  // namespace vornel
