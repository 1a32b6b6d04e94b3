// Game controllers in the SDL window, on SDL's windowless video driver with a virtual
// controller: buttons arrive as the keyboard's key messages, and none stays held when the
// controller is unplugged or the window loses focus.
#include "platform/sdl/SdlDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "DeviceTestSupport.h"

namespace vornel {
namespace {

using testing_support::kTinyProfile;
using testing_support::recordingProcedure;
using testing_support::setupIn;
using testing_support::TemporaryFolder;

struct Seen {
    MessageType type;
    uint32_t wParam;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << "{type " << static_cast<int>(seen.type) << ", " << seen.wParam << "}";
}

const Seen kLeftDown{MessageType::KeyDown, 37};
const Seen kLeftUp{MessageType::KeyUp, 37};
const Seen kEnterDown{MessageType::KeyDown, 13};
const Seen kEnterUp{MessageType::KeyUp, 13};
const Seen kDownDown{MessageType::KeyDown, 40};
const Seen kActivated{MessageType::Activate, 1};
const Seen kDeactivated{MessageType::Activate, 0};

class SdlControllerTest : public testing::Test {
protected:
    void SetUp() override {
        // A window without a display; controllers count even without keyboard focus, which
        // the windowless driver never gives.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        std::string error;
        m_device = SdlDevice::create(kTinyProfile, setupIn(m_folder.path()), SdlDevice::View{1, false}, nullptr, error);
        ASSERT_NE(m_device, nullptr) << error;
        ASSERT_TRUE(m_device->createWindow("Vornel", recordingProcedure));
        m_device->showWindow();
        settle();
    }

    void TearDown() override {
        if (m_padIndex >= 0) {
            SDL_JoystickDetachVirtual(m_padIndex);
        }
        m_device.reset();
    }

    // Handles what SDL has queued so far, and answers the key and activation messages it
    // gave. A close request pushed behind them marks the end: the window's Destroy message
    // comes from nothing else here.
    std::vector<Seen> settle() {
        SDL_JoystickUpdate();  // the virtual controller's changes become events here
        SDL_Event marker;
        SDL_zero(marker);
        marker.type = SDL_QUIT;
        SDL_PushEvent(&marker);
        std::vector<Seen> seen;
        WindowMessage message;
        while (m_device->getMessage(message) && message.type != MessageType::Destroy) {
            if (message.type == MessageType::KeyDown || message.type == MessageType::KeyUp ||
                message.type == MessageType::Activate) {
                seen.push_back({message.type, message.wParam});
            }
        }
        return seen;
    }

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

    TemporaryFolder m_folder{"sdl-controller"};
    std::unique_ptr<SdlDevice> m_device;
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
    SDL_Delay(ControllerKeys::kRepeatDelayMs + 20);
    EXPECT_EQ(settle(), std::vector<Seen>{kLeftDown});
    setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    // A slow machine may fit another repeat in before the release; none comes after it.
    const std::vector<Seen> released = settle();
    ASSERT_FALSE(released.empty());
    EXPECT_EQ(released.back(), kLeftUp);
    EXPECT_EQ(std::count(released.begin(), released.end(), kLeftDown), static_cast<long>(released.size()) - 1);
    SDL_Delay(2 * ControllerKeys::kRepeatIntervalMs);
    EXPECT_EQ(settle(), std::vector<Seen>{});
}

// SDL lets a removed controller's buttons go before it reports the removal, but not every
// driver can; the window lets go of the keys itself.
TEST_F(SdlControllerTest, ARemovalWithoutReleasesStillLetsGoOfTheKeys) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    settle();
    SDL_Event removed;
    SDL_zero(removed);
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = m_padId;
    SDL_PushEvent(&removed);
    EXPECT_EQ(settle(), (std::vector<Seen>{{MessageType::KeyUp, 39}}));
    EXPECT_EQ(SDL_GameControllerFromInstanceID(m_padId), nullptr) << "the window kept the controller open";
}

TEST_F(SdlControllerTest, LosingFocusLetsGoFirstAndIgnoresButtonsUntilItReturns) {
    ASSERT_NO_FATAL_FAILURE(plugIn());
    setButton(SDL_CONTROLLER_BUTTON_A, true);
    settle();
    pushFocus(false);
    EXPECT_EQ(settle(), (std::vector<Seen>{kEnterUp, kDeactivated}));

    setButton(SDL_CONTROLLER_BUTTON_A, false);       // its key-up was told already
    setButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);  // pressed out of focus
    EXPECT_EQ(settle(), std::vector<Seen>{});

    pushFocus(true);
    setButton(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    setButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_EQ(settle(), (std::vector<Seen>{kActivated, kDownDown}));
}

}  // namespace
}  // namespace vornel
