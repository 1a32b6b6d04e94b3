// The stretching paint against a plain model of it, pixel for pixel, in every orientation:
// enlarged two and three times, at the same size, shrunk, by ratios that do not divide, and
// inside a paint rectangle, in every table of pixel kernels the machine has. Pixels outside
// what may be drawn keep what they showed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceTestSupport.h"
#include "kernels/ScopedPixelKernels.h"
#include "backends/headless/HeadlessDevice.h"

namespace vornel {
namespace {

using testing_support::setupIn;

// 7 x 5: odd sides, so no turned row or column lines up with an upright one.
constexpr DeviceProfile kOddProfile = {"odd", "PocketPC", "Odd", 7, 5, true, true, false};
constexpr uint16_t kUntouched = 0xBEEF;

struct Stretch {
    int32_t width;  // the surface
    int32_t height;
    int32_t targetWidth;
    int32_t targetHeight;
};

std::vector<uint32_t> patternSurface(const Stretch& stretch) {
    std::vector<uint32_t> surface(static_cast<std::size_t>(stretch.width) * stretch.height);
    for (std::size_t i = 0; i < surface.size(); ++i) {
        surface[i] = static_cast<uint32_t>((i + 1) * 0x2F1B37);
    }
    return surface;
}

// Every logical pixel of the display set to kUntouched (as 5-6-5), through the plain copy.
void clearDisplay(HeadlessDevice& device, int32_t orientation) {
    const int32_t width = device.display().logicalWidth(orientation);
    const int32_t height = device.display().logicalHeight(orientation);
    const uint32_t untouched =
        (kUntouched >> 11 & 0x1Fu) << 19 | (kUntouched >> 5 & 0x3Fu) << 10 | (kUntouched & 0x1Fu) << 3;
    const std::vector<uint32_t> surface(static_cast<std::size_t>(width) * height, untouched);
    device.setBitsToDevice(surface.data(), width, height);
}

// Paints the stretch inside `paint` and compares every logical pixel with the model.
void expectStretchAsModelled(HeadlessDevice& device, const Stretch& stretch, const Rect& paint) {
    const int32_t orientation = device.displayOrientation();
    clearDisplay(device, orientation);
    const std::vector<uint32_t> surface = patternSurface(stretch);
    device.beginPaint();  // takes what is still invalid (all of it, after a turn)
    device.endPaint();
    device.invalidateRect(paint);
    device.beginPaint();
    device.stretchBits(surface.data(), stretch.width, stretch.height, stretch.targetWidth, stretch.targetHeight);
    device.endPaint();

    const PhysicalDisplay& display = device.display();
    for (int32_t y = 0; y < display.logicalHeight(orientation); ++y) {
        for (int32_t x = 0; x < display.logicalWidth(orientation); ++x) {
            const bool drawn = x >= paint.left && x < paint.right && y >= paint.top && y < paint.bottom &&
                               x < stretch.targetWidth && y < stretch.targetHeight;
            uint16_t expected = kUntouched;
            if (drawn) {
                const int32_t surfaceX = x * stretch.width / stretch.targetWidth;
                const int32_t surfaceY = y * stretch.height / stretch.targetHeight;
                const auto shown = static_cast<std::size_t>(surfaceY * stretch.width + surfaceX);
                expected = PhysicalDisplay::toRgb565(surface[shown]);
            }
            ASSERT_EQ(display.logicalAt(orientation, x, y), expected)
                << "orientation " << orientation << ", pixel " << x << "," << y << ", surface " << stretch.width << "x"
                << stretch.height << " onto " << stretch.targetWidth << "x" << stretch.targetHeight;
        }
    }
}

class StretchBits : public testing::TestWithParam<const PixelKernels*> {
protected:
    ScopedPixelKernels m_kernels{*GetParam()};
};

TEST_P(StretchBits, EveryOrientationAndRatioShowsTheNearestSurfacePixels) {
    HeadlessDevice device(kOddProfile, setupIn("/tmp/unused"));
    for (int turns = 0; turns < 3; ++turns) {
        const int32_t width = device.display().logicalWidth(device.displayOrientation());
        const int32_t height = device.display().logicalHeight(device.displayOrientation());
        const Rect whole{0, 0, width, height};
        for (const Stretch& stretch : {Stretch{(width + 1) / 2, (height + 1) / 2, width, height},  // twice
                                       Stretch{3, 2, 9, 6},                                      // three times, cut
                                       Stretch{width, height, width, height},                    // same size
                                       Stretch{10, 9, width, height},                            // shrunk
                                       Stretch{4, 3, width - 1, height - 2},                     // uneven
                                       Stretch{1, 1, 1, 1}}) {
            expectStretchAsModelled(device, stretch, whole);
        }
        device.rotate();
    }
}

TEST_P(StretchBits, OnlyThePaintRectangleIsWritten) {
    HeadlessDevice device(kOddProfile, setupIn("/tmp/unused"));
    for (int turns = 0; turns < 3; ++turns) {
        for (const Rect& paint : {Rect{1, 2, 4, 4}, Rect{2, 0, 3, 5}, Rect{0, 1, 5, 2}}) {
            expectStretchAsModelled(device, Stretch{3, 4, 6, 8}, paint);
        }
        device.rotate();
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, StretchBits, testing::ValuesIn(PixelKernels::supported()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace vornel
