// Game controllers in the SDL window, on SDL's windowless video driver with a virtual
// controller: buttons arrive as the keyboard's key messages, and none stays held when the
// controller is unplugged or the window loses focus.
#include "backends/sdl/SdlDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "SdlTestWindow.h"

namespace vornel {
namespace {

using testing_support::kTinyProfile;
using testing_support::SdlTestWindow;
using testing_support::Seen;

const Seen kLeftDown{MessageType::KeyDown, 37};
const Seen kLeftUp{MessageType::KeyUp, 37};
const Seen kEnterDown{MessageType::KeyDown, 13};
const Seen kEnterUp{MessageType::KeyUp, 13};
const Seen kDownDown{MessageType::KeyDown, 40};
const Seen kUpDown{MessageType::KeyDown, 38};
const Seen kUpUp{MessageType::KeyUp, 38};
const Seen kDownUp{MessageType::KeyUp, 40};
const Seen kActivated{MessageType::Activate, 1};
const Seen kDeactivated{MessageType::Activate, 0};

class SdlControllerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(m_window.open(kTinyProfile, 1)); }

    void TearDown() override {
        if (m_padIndex >= 0) {
            SDL_JoystickDetachVirtual(m_padIndex);
        }
    }

    std::vector<Seen> settle() { return m_window.settle(); }
    void passDeviceTime(uint32_t milliseconds) { m_window.passDeviceTime(milliseconds); }

    static void pushFocus(bool gained) {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_WINDOWEVENT;
        event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
        SDL_PushEvent(&event);
    }

    void plugIn() {
        SDL_VirtualJoystickDesc pad;
        SDL_zero(pad);
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        pad.name = "Vornel test pad";
        m_padIndex = SDL_JoystickAttachVirtualEx(&pad);
        ASSERT_GE(m_padIndex, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(m_padIndex));
        m_padId = SDL_JoystickGetDeviceInstanceID(m_padIndex);
        settle();  // the device opens the controller
        ASSERT_NE(SDL_GameControllerFromInstanceID(m_padId), nullptr) << "the window did not open the controller";
    }

    void unplug() {
        SDL_JoystickDetachVirtual(m_padIndex);
        m_padIndex = -1;
    }

    void setButton(SDL_GameControllerButton button, bool down) {
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(m_padId);
        ASSERT_NE(joystick, nullptr);
        SDL_JoystickSetVirtualButton(joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    }

    void setAxis(SDL_GameControllerAxis axis, int16_t value) {
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(m_padId);
        ASSERT_NE(joystick, nullptr);
        SDL_JoystickSetVirtualAxis(joystick, axis, value);
    }

    SdlTestWindow m_window;
    int m_padIndex = -1;
    SDL_JoystickID m_padId = -1;
};

TEST_F(SdlControllerTest, ButtonsArriveAsTheKeyboardsKeyDownsAndUps) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftDown});
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftUp});
    setButton(SDL_CONTROLLER_BUTTON_A, true);
    setButton(SDL_CONTROLLER_BUTTON_X, true);  // no key of the handheld's
    EXPECT_EQ(settle(), std::vector<Seen>{kEnterDown});
}

// Back and the menu's soft key reach the game only at their release, as the handheld's keys
// did: one key-up, however long they were held, and a held arrow keeps repeating meanwhile.
TEST_F(SdlControllerTest, BackAndStartArriveAsOneKeyUpAtTheirRelease) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftDown});
    setButton(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(settle(), std::vector<Seen>{});
    passDeviceTime(ControllerKeys::kRepeatDelayMs + 20);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftDown});
    setButton(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(settle(), (std::vector<Seen>{{MessageType::KeyUp, 27}}));
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    settle();

    setButton(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(settle(), std::vector<Seen>{});
    setButton(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(settle(), (std::vector<Seen>{{MessageType::KeyUp, 113}}));
}

TEST_F(SdlControllerTest, TheLeftStickStepsLikeTheDpadOutsideItsDeadZone) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, -12000);  // resting off centre
    EXPECT_EQ(settle(), std::vector<Seen>{});
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftDown});
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, -15000);  // back below the press threshold: still held
    EXPECT_EQ(settle(), std::vector<Seen>{});
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, -11000);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftUp});
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, -15000);  // not far enough to press again
    EXPECT_EQ(settle(), std::vector<Seen>{});

    setAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    EXPECT_EQ(settle(), std::vector<Seen>{kDownDown});
    setAxis(SDL_CONTROLLER_AXIS_LEFTY, -32768);  // flicked across
    EXPECT_EQ(settle(), (std::vector<Seen>{kDownUp, kUpDown}));
    setAxis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_EQ(settle(), std::vector<Seen>{kUpUp});
    setAxis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);  // the right stick steers nothing
    EXPECT_EQ(settle(), std::vector<Seen>{});
}

TEST_F(SdlControllerTest, TheStickAndTheDpadOnOneKeyLetItGoWithTheLast) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    EXPECT_EQ(settle(), (std::vector<Seen>{kLeftDown, kLeftDown}));
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(settle(), std::vector<Seen>{});
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftDown});
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(settle(), std::vector<Seen>{});
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftUp});
}

TEST_F(SdlControllerTest, UnpluggingWithAButtonDownLetsGoOfItsKey) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    settle();
    unplug();
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftUp});
    EXPECT_EQ(SDL_GameControllerFromInstanceID(m_padId), nullptr) << "the window kept the controller open";
}

TEST_F(SdlControllerTest, AHeldButtonRepeatsLikeAHeldKey) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    settle();
    passDeviceTime(ControllerKeys::kRepeatDelayMs - 1);
    EXPECT_EQ(settle(), std::vector<Seen>{});
    passDeviceTime(1);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftDown});
    passDeviceTime(ControllerKeys::kRepeatIntervalMs - 1);
    EXPECT_EQ(settle(), std::vector<Seen>{});
    passDeviceTime(1);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftDown});
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftUp});
    passDeviceTime(2 * ControllerKeys::kRepeatIntervalMs);
    EXPECT_EQ(settle(), std::vector<Seen>{});
}

// SDL lets a removed controller's buttons go before it reports the removal, but not every
// driver can; the window lets go of the keys itself.
TEST_F(SdlControllerTest, ARemovalWithoutReleasesStillLetsGoOfTheKeys) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    settle();
    setAxis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    settle();
    SDL_Event removed;
    SDL_zero(removed);
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = m_padId;
    SDL_PushEvent(&removed);
    EXPECT_EQ(settle(), (std::vector<Seen>{{MessageType::KeyUp, 39}, kUpUp}));
    EXPECT_EQ(SDL_GameControllerFromInstanceID(m_padId), nullptr) << "the window kept the controller open";
}

TEST_F(SdlControllerTest, LosingFocusLetsGoFirstAndIgnoresButtonsUntilItReturns) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_A, true);
    setButton(SDL_CONTROLLER_BUTTON_B, true);  // its key-up would be its press: not sent
    settle();
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    settle();
    pushFocus(false);
    EXPECT_EQ(settle(), (std::vector<Seen>{kEnterUp, kLeftUp, kDeactivated}));

    setButton(SDL_CONTROLLER_BUTTON_A, false);  // their key-ups were told already
    setButton(SDL_CONTROLLER_BUTTON_B, false);
    setAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    setButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);  // pressed out of focus
    setAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    EXPECT_EQ(settle(), std::vector<Seen>{});

    pushFocus(true);
    setButton(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    setButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_EQ(settle(), (std::vector<Seen>{kActivated, kDownDown}));
}

}  // namespace
}  // namespace vornel
