// The SDL window's arithmetic and its key and controller mapping, which need no display.
#include <gtest/gtest.h>

#include <vector>

#include "device/ControllerButton.h"
#include "backends/sdl/ControllerTranslation.h"
#include "backends/sdl/KeyTranslation.h"
#include "backends/sdl/ScreenPlacement.h"
#include "harness/SdlScriptInput.h"

namespace vornel {
namespace {

using Action = KeyTranslation::EmulatorAction;

TEST(PlatformScreenPlacementTest, AWindowShowsTheScreenAtItsZoomFromTheCorner) {
    const ScreenPlacement placement = ScreenPlacement::fit(240, 320, 720, 960, 3);
    EXPECT_EQ(placement.scale, 3);
    EXPECT_EQ(placement.left, 0);
    EXPECT_EQ(placement.top, 0);
}

TEST(PlatformScreenPlacementTest, FullScreenTakesTheLargestWholeScaleCentred) {
    const ScreenPlacement placement = ScreenPlacement::fit(240, 320, 1920, 1080, 64);
    EXPECT_EQ(placement.scale, 3);  // 4 x 320 would not fit 1080
    EXPECT_EQ(placement.left, (1920 - 720) / 2);
    EXPECT_EQ(placement.top, (1080 - 960) / 2);
}

TEST(PlatformScreenPlacementTest, TheDefaultZoomFitsTheDesktopAndStopsAtFour) {
    EXPECT_EQ(ScreenPlacement::defaultZoom(240, 320, 1920, 1040), 3);
    EXPECT_EQ(ScreenPlacement::defaultZoom(176, 220, 3840, 2100), 4);
    EXPECT_EQ(ScreenPlacement::defaultZoom(480, 640, 1280, 600), 1);  // too small still shows at 1
}

TEST(PlatformScreenPlacementTest, MousePositionsBecomeScreenPixelsKeptOnTheScreen) {
    const ScreenPlacement placement = ScreenPlacement::fit(240, 320, 1920, 1080, 64);  // scale 3 at (600, 60)
    EXPECT_EQ(placement.pictureX(600, 240), 0);
    EXPECT_EQ(placement.pictureX(602, 240), 0);
    EXPECT_EQ(placement.pictureX(603, 240), 1);
    EXPECT_EQ(placement.pictureX(599, 240), 0);   // left of the picture
    EXPECT_EQ(placement.pictureX(1900, 240), 239);
    EXPECT_EQ(placement.pictureY(60 + 3 * 100 + 2, 320), 100);
}

// A window of 360 x 480 points drawn in 720 x 960 device pixels shows the screen at scale 3.
TEST(PlatformScreenPlacementTest, OnAScaledDesktopMousePointsBecomeDevicePixelsFirst) {
    const ScreenPlacement placement = ScreenPlacement::fit(240, 320, 720, 960, 64);
    EXPECT_EQ(placement.scale, 3);
    EXPECT_EQ(placement.pictureX(ScreenPlacement::pixelsOf(181, 720, 360), 240), 120);
    EXPECT_EQ(placement.pictureY(ScreenPlacement::pixelsOf(479, 960, 480), 320), 319);
    EXPECT_EQ(ScreenPlacement::pixelsOf(10, 0, 0), 10);  // a window that has no size yet
}

TEST(PlatformKeyTranslationTest, DesktopKeysBecomeTheHandheldsCodes) {
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_LEFT), 37);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_UP), 38);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_RIGHT), 39);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_DOWN), 40);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_RETURN), 13);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_KP_ENTER), 13);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_ESCAPE), 27);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_BACKSPACE), 8);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_SPACE), 32);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_a), 65);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_z), 90);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_0), 48);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_KP_7), 55);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_F1), 112);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_F2), 113);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_F8), 119);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_F9), 120);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_SLASH), 191);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_TAB), 0);
    EXPECT_EQ(KeyTranslation::virtualKeyOf(SDLK_F3), 0);
}

TEST(PlatformKeyTranslationTest, EmulatorKeysAreRecognisedWithTheirModifiers) {
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_r, KMOD_LCTRL), Action::Rotate);
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_r, KMOD_NONE), Action::None);  // a plain R is the game's
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_F11, KMOD_NONE), Action::ToggleFullscreen);
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_RETURN, KMOD_LALT), Action::ToggleFullscreen);
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_RETURN, KMOD_NONE), Action::None);
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_F12, KMOD_NONE), Action::Screenshot);
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_EQUALS, KMOD_RCTRL), Action::ZoomIn);
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_PLUS, KMOD_LCTRL), Action::ZoomIn);
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_KP_MINUS, KMOD_LCTRL), Action::ZoomOut);
    EXPECT_EQ(KeyTranslation::emulatorActionOf(SDLK_MINUS, KMOD_NONE), Action::None);
}

TEST(PlatformControllerTranslationTest, ControllerButtonsBecomeTheKeysTheyStandFor) {
    EXPECT_EQ(ControllerTranslation::virtualKeyOf(SDL_CONTROLLER_BUTTON_DPAD_UP), 38);
    EXPECT_EQ(ControllerTranslation::virtualKeyOf(SDL_CONTROLLER_BUTTON_DPAD_DOWN), 40);
    EXPECT_EQ(ControllerTranslation::virtualKeyOf(SDL_CONTROLLER_BUTTON_DPAD_LEFT), 37);
    EXPECT_EQ(ControllerTranslation::virtualKeyOf(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), 39);
    EXPECT_EQ(ControllerTranslation::virtualKeyOf(SDL_CONTROLLER_BUTTON_A), 13);      // confirm
    EXPECT_EQ(ControllerTranslation::virtualKeyOf(SDL_CONTROLLER_BUTTON_B), 27);      // back
    EXPECT_EQ(ControllerTranslation::virtualKeyOf(SDL_CONTROLLER_BUTTON_START), 113);  // the menu's soft key
}

TEST(PlatformControllerTranslationTest, ButtonsTheGameHasNoUseForGiveNoKey) {
    for (const SDL_GameControllerButton button :
         {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_GUIDE,
          SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_TOUCHPAD,
          SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_BUTTON_MAX}) {
        EXPECT_EQ(ControllerTranslation::virtualKeyOf(button), 0) << button;
    }
}

// Script keys and buttons go through the same translation as a person's, so each must come
// back as the key the script named.
TEST(PlatformScriptInputTest, EveryScriptKeyIsADesktopKeyThatGivesItsCodeBack) {
    std::vector<int32_t> codes = {8, 13, 27, 32, 37, 38, 39, 40, 112, 113, 119, 120, 191};
    for (int32_t code = 48; code <= 57; ++code) {
        codes.push_back(code);
    }
    for (int32_t code = 65; code <= 90; ++code) {
        codes.push_back(code);
    }
    for (const int32_t code : codes) {
        const SDL_Keysym key = SdlScriptInput::keysymOf(code);
        EXPECT_NE(key.scancode, SDL_SCANCODE_UNKNOWN) << code;
        EXPECT_EQ(KeyTranslation::virtualKeyOf(key.sym), code);
    }
    EXPECT_EQ(SdlScriptInput::keysymOf(200).scancode, SDL_SCANCODE_UNKNOWN);
}

TEST(PlatformScriptInputTest, ScriptButtonsAreTheControllerButtonsOfTheirKeys) {
    for (const char* name : {"a", "b", "start", "dpad-up", "dpad-down", "dpad-left", "dpad-right"}) {
        const int32_t button = ControllerButton::fromName(name);
        ASSERT_NE(button, 0) << name;
        EXPECT_EQ(ControllerTranslation::virtualKeyOf(ControllerTranslation::sdlButtonOf(button)),
                  ControllerButton::virtualKeyOf(button))
            << name;
    }
}

}  // namespace
}  // namespace vornel
