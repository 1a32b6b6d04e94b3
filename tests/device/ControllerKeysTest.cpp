// Held controller buttons turned into key-downs, repeats and key-ups, with no key left held.
#include "device/ControllerKeys.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

using Change = ControllerKeys::KeyChange;
using Changes = ControllerKeys::KeyChanges;

constexpr int32_t kPad = 3;       // a controller's instance id
constexpr int32_t kOtherPad = 7;
constexpr int32_t kLeftButton = 13;
constexpr int32_t kAButton = 0;
constexpr int32_t kLeft = 37;
constexpr int32_t kEnter = 13;

const Change kLeftDown{kLeft, true};
const Change kLeftUp{kLeft, false};
const Change kEnterDown{kEnter, true};
const Change kEnterUp{kEnter, false};

TEST(ControllerKeysTest, APressAndItsReleaseAreAKeyDownAndAKeyUp) {
    ControllerKeys keys;
    EXPECT_EQ(keys.press(kPad, kLeftButton, kLeft, 1000), Changes{kLeftDown});
    EXPECT_EQ(keys.release(kPad, kLeftButton), Changes{kLeftUp});
    EXPECT_EQ(keys.release(kPad, kLeftButton), Changes{});  // released twice: told once
}

TEST(ControllerKeysTest, AHeldButtonRepeatsAfterTheDelayAtTheInterval) {
    ControllerKeys keys;
    keys.press(kPad, kLeftButton, kLeft, 1000);
    EXPECT_EQ(keys.msUntilRepeat(1000), 500);
    EXPECT_EQ(keys.repeatsDue(1499), Changes{});
    EXPECT_EQ(keys.repeatsDue(1500), Changes{kLeftDown});
    EXPECT_EQ(keys.msUntilRepeat(1500), 40);
    EXPECT_EQ(keys.repeatsDue(1539), Changes{});
    EXPECT_EQ(keys.repeatsDue(1540), Changes{kLeftDown});
}

TEST(ControllerKeysTest, ALongStallGivesOneRepeatNotABurst) {
    ControllerKeys keys;
    keys.press(kPad, kLeftButton, kLeft, 0);
    EXPECT_EQ(keys.repeatsDue(5000), Changes{kLeftDown});
    EXPECT_EQ(keys.repeatsDue(5001), Changes{});
}

TEST(ControllerKeysTest, ReleasingStopsTheRepeat) {
    ControllerKeys keys;
    keys.press(kPad, kLeftButton, kLeft, 1000);
    keys.release(kPad, kLeftButton);
    EXPECT_EQ(keys.msUntilRepeat(1000), -1);
    EXPECT_EQ(keys.repeatsDue(9000), Changes{});
}

TEST(ControllerKeysTest, OnlyTheLastPressedButtonRepeatsAsOnAKeyboard) {
    ControllerKeys keys;
    keys.press(kPad, kLeftButton, kLeft, 1000);
    keys.press(kPad, kAButton, kEnter, 1200);
    EXPECT_EQ(keys.repeatsDue(1600), Changes{});  // the delay started again with the new press
    EXPECT_EQ(keys.repeatsDue(1700), Changes{kEnterDown});
}

TEST(ControllerKeysTest, RepeatsKeepTimeAcrossTheClockWrapping) {
    ControllerKeys keys;
    keys.press(kPad, kLeftButton, kLeft, 0xFFFFFF00u);
    EXPECT_EQ(keys.repeatsDue(0x00000010u), Changes{});  // 272 ms later
    EXPECT_EQ(keys.msUntilRepeat(0x00000010u), 500 - 272);
    EXPECT_EQ(keys.repeatsDue(0xFFFFFF00u + 500), Changes{kLeftDown});
}

TEST(ControllerKeysTest, UnpluggingAControllerLetsGoOfEveryKeyItHeld) {
    ControllerKeys keys;
    keys.press(kPad, kLeftButton, kLeft, 0);
    keys.press(kPad, kAButton, kEnter, 0);
    keys.press(kOtherPad, kAButton, kEnter, 0);
    // The other controller still holds Enter, so only Left goes up.
    EXPECT_EQ(keys.releaseController(kPad), Changes{kLeftUp});
    EXPECT_EQ(keys.msUntilRepeat(0), 500);  // the other controller's Enter was pressed last
    EXPECT_EQ(keys.releaseController(kOtherPad), Changes{kEnterUp});
    EXPECT_EQ(keys.msUntilRepeat(0), -1);
}

TEST(ControllerKeysTest, LosingFocusLetsGoOfEachKeyOnceAndStopsRepeating) {
    ControllerKeys keys;
    keys.press(kPad, kLeftButton, kLeft, 0);
    keys.press(kOtherPad, kLeftButton, kLeft, 0);
    keys.press(kOtherPad, kAButton, kEnter, 0);
    EXPECT_EQ(keys.releaseAll(), (Changes{kLeftUp, kEnterUp}));
    EXPECT_EQ(keys.repeatsDue(10000), Changes{});
    EXPECT_EQ(keys.release(kOtherPad, kAButton), Changes{});  // its real release comes later
}

TEST(ControllerKeysTest, TwoButtonsOnOneKeyLetItGoWithTheLast) {
    ControllerKeys keys;
    keys.press(kPad, kLeftButton, kLeft, 0);
    EXPECT_EQ(keys.press(kOtherPad, kLeftButton, kLeft, 0), Changes{kLeftDown});
    EXPECT_EQ(keys.release(kPad, kLeftButton), Changes{});
    EXPECT_EQ(keys.release(kOtherPad, kLeftButton), Changes{kLeftUp});
}

}  // namespace
}  // namespace vornel
