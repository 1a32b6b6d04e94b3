// The copy into display memory: the 5-6-5 conversion, the upright and turned placements and
// the limits of the paint, the surface, the window and the frame.
#include "shell/DisplayMemory.h"

#include <gtest/gtest.h>

#include <vector>

#include "FakePlatform.h"

namespace vornel {
namespace {

using Pixels = std::vector<uint16_t>;

class ShellDisplayMemory : public test::ShellFixture {
protected:
    // A surface whose pixels turn into 1, 2, 3... row by row (in the blue bits); the top
    // byte never reaches the display. Copies it into a frame with an x stride of 1.
    Pixels copy(int32_t surfaceWidth, int32_t surfaceHeight, int32_t frameWidth, int32_t frameHeight,
                const Rect& paint, const Rect& window, bool sameWidth, int32_t guard = 0) {
        std::vector<uint32_t> surface(static_cast<std::size_t>(surfaceWidth * surfaceHeight));
        for (std::size_t i = 0; i < surface.size(); ++i) {
            surface[i] = 0xAA000000 | static_cast<uint32_t>(i + 1) << 3;
        }
        Pixels frame(static_cast<std::size_t>(frameWidth * frameHeight + guard), 0);
        DisplayMemory::copyToFrameBuffer(platform, Surface32{surface.data(), surfaceWidth, surfaceHeight},
                                         {{frame.data(), frameWidth, frameHeight}, frameWidth, 1}, paint, window,
                                         sameWidth);
        return frame;
    }
};

TEST_F(ShellDisplayMemory, ConvertsToFiveSixFive) {
    EXPECT_EQ(DisplayMemory::to565(0x00FF8040), 0xFC08);
    EXPECT_EQ(DisplayMemory::to565(0xFF070307), 0x0000);
}

TEST_F(ShellDisplayMemory, UprightRowsLandAtTheWindowsPlace) {
    EXPECT_EQ(copy(3, 2, 4, 3, {0, 0, 3, 2}, {1, 1, 4, 3}, true), (Pixels{0, 0, 0, 0, 0, 1, 2, 3, 0, 4, 5, 6}));
}

TEST_F(ShellDisplayMemory, TurnedDisplaysTakeSourceRowsAsFrameColumns) {
    platform.orientation = Platform::kOrientation270;
    EXPECT_EQ(copy(3, 2, 2, 3, {0, 0, 3, 2}, {0, 0, 3, 2}, false), (Pixels{4, 1, 5, 2, 6, 3}));
    for (int32_t orientation : {Platform::kOrientation0, Platform::kOrientation90, Platform::kOrientation180}) {
        platform.orientation = orientation;
        EXPECT_EQ(copy(3, 2, 2, 3, {0, 0, 3, 2}, {0, 0, 3, 2}, false), (Pixels{3, 6, 2, 5, 1, 4})) << orientation;
    }
}

TEST_F(ShellDisplayMemory, CopyStopsAtThePaintTheSurfaceAndTheWindow) {
    EXPECT_EQ(copy(4, 3, 4, 3, {1, 1, 3, 2}, {0, 0, 4, 3}, true), (Pixels{0, 0, 0, 0, 0, 6, 7, 0, 0, 0, 0, 0}));
    // A paint larger than the surface, in a window one row high.
    EXPECT_EQ(copy(2, 2, 4, 3, {0, 0, 4, 3}, {0, 0, 4, 1}, true), (Pixels{1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ShellDisplayMemory, NothingIsWrittenOutsideTheFrame) {
    // Four guard pixels behind each frame stay clear.
    EXPECT_EQ(copy(4, 3, 4, 3, {0, 0, 4, 3}, {2, 1, 6, 4}, true, 4),
              (Pixels{0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 5, 6, 0, 0, 0, 0}));
    platform.orientation = Platform::kOrientation270;
    // Only source row 2 (frame column 2) and its columns 1 to 3 (frame rows 0 to 2) fit.
    EXPECT_EQ(copy(4, 3, 3, 4, {0, 0, 4, 3}, {-1, -2, 3, 1}, false, 4),
              (Pixels{0, 0, 10, 0, 0, 11, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0}));
    Pixels frame(4, 0);
    DisplayMemory::copyToFrameBuffer(platform, Surface32{nullptr, 2, 2}, {{frame.data(), 2, 2}, 2, 1}, {0, 0, 2, 2},
                                     {0, 0, 2, 2}, true);
    EXPECT_EQ(frame, (Pixels{0, 0, 0, 0}));
}

}  // namespace
}  // namespace vornel
