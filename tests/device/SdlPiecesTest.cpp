// The SDL window's arithmetic, the desktop keys' table through SDL's names and the browser's, and
// the controller mapping, none of which needs a display.
#include <gtest/gtest.h>

#include <vector>

#include "backends/sdl/ControllerTranslation.h"
#include "backends/sdl/ScreenPlacement.h"
#include "backends/sdl/SdlKeys.h"
#include "device/ControllerButton.h"
#include "device/DesktopKeys.h"
#include "harness/SdlScriptInput.h"

namespace vornel {
namespace {

using Action = DesktopKeys::EmulatorAction;

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

// One desktop key as SDL reports it and as the browser does.
struct SameKey {
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    const char* code;
    const char* key;
    int32_t virtualKey;  // what the handheld gets, by the key's meaning
};

DesktopKeyEvent fromBrowser(const char* code, const char* key) {
    DesktopKeyEvent event;
    event.place = DesktopKeys::ofBrowserCode(code);
    event.meaning = DesktopKeys::ofBrowserKey(key);
    return event;
}

// The table is the same for every backend: SDL's names and the browser's reach the same key.
TEST(DesktopKeysTest, SdlAndTheBrowserGiveTheHandheldTheSameKeys) {
    const std::vector<SameKey> keys = {
        {SDL_SCANCODE_LEFT, SDLK_LEFT, "ArrowLeft", "ArrowLeft", 37},
        {SDL_SCANCODE_UP, SDLK_UP, "ArrowUp", "ArrowUp", 38},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, "ArrowRight", "ArrowRight", 39},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, "ArrowDown", "ArrowDown", 40},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, "Enter", "Enter", 13},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, "NumpadEnter", "Enter", 13},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, "Escape", "Escape", 27},
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, "Backspace", "Backspace", 8},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, "Space", " ", 32},
        {SDL_SCANCODE_A, SDLK_a, "KeyA", "a", 65},
        {SDL_SCANCODE_Z, SDLK_z, "KeyZ", "Z", 90},
        {SDL_SCANCODE_0, SDLK_0, "Digit0", "0", 48},
        {SDL_SCANCODE_KP_7, SDLK_KP_7, "Numpad7", "7", 55},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, "Numpad0", "Insert", 48},  // a keypad digit is one without Num Lock
        {SDL_SCANCODE_F1, SDLK_F1, "F1", "F1", 112},
        {SDL_SCANCODE_F2, SDLK_F2, "F2", "F2", 113},
        {SDL_SCANCODE_F8, SDLK_F8, "F8", "F8", 119},
        {SDL_SCANCODE_F9, SDLK_F9, "F9", "F9", 120},
        {SDL_SCANCODE_SLASH, SDLK_SLASH, "Slash", "/", 191},
        {SDL_SCANCODE_TAB, SDLK_TAB, "Tab", "Tab", 0},
        {SDL_SCANCODE_F3, SDLK_F3, "F3", "F3", 0},
    };
    for (const SameKey& key : keys) {
        const DesktopKeyEvent sdl = SdlKeys::eventOf(SDL_Keysym{key.scancode, key.keycode, KMOD_NONE, 0}, false);
        const DesktopKeyEvent browser = fromBrowser(key.code, key.key);
        for (const bool lettersByPlace : {false, true}) {
            EXPECT_EQ(DesktopKeys::virtualKeyOf(sdl, lettersByPlace), key.virtualKey) << key.code;
            EXPECT_EQ(DesktopKeys::virtualKeyOf(browser, lettersByPlace), key.virtualKey) << key.code;
        }
    }
}

// The page's on-screen keys and gamepads name the handheld's keys; the table gives their codes.
TEST(DesktopKeysTest, OnScreenKeysAndStandardGamepadButtonsGiveTheHandheldsKeys) {
    const auto virtualKeyOf = [](const char* name) {
        DesktopKeyEvent key;
        key.place = key.meaning = DesktopKeys::ofHandheldKey(name);
        return DesktopKeys::virtualKeyOf(key, false);
    };
    const std::vector<std::pair<const char*, int32_t>> keys = {
        {"Up", 38}, {"Down", 40}, {"Left", 37}, {"Right", 39}, {"Action", 13}, {"Left soft key", 112},
        {"Right soft key", 113}, {"Back", 27}, {"0", 48}, {"9", 57}, {"*", 119}, {"#", 120}, {"Menu", 0}};
    for (const auto& [name, code] : keys) {
        EXPECT_EQ(virtualKeyOf(name), code) << name;
    }
    const std::vector<std::pair<int32_t, int32_t>> buttons = {{0, 13}, {1, 27}, {9, 113}, {12, 38}, {13, 40},
                                                              {14, 37}, {15, 39}, {2, 0}, {8, 0}, {16, 0}};
    for (const auto& [index, code] : buttons) {
        EXPECT_EQ(ControllerButton::virtualKeyOf(ControllerButton::ofStandardGamepad(index)), code) << index;
    }
}

// On AZERTY the key in the place of a US Q prints A, and M sits where a US keyboard has ';'.
TEST(DesktopKeysTest, OnAHandheldWhoseLettersAreItsKeypadLettersGoByTheirPlace) {
    for (const DesktopKeyEvent& q : {SdlKeys::eventOf(SDL_Keysym{SDL_SCANCODE_Q, SDLK_a, KMOD_NONE, 0}, false),
                                     fromBrowser("KeyQ", "a")}) {
        EXPECT_EQ(DesktopKeys::virtualKeyOf(q, true), 'Q');
        EXPECT_EQ(DesktopKeys::virtualKeyOf(q, false), 'A');
    }
    for (const DesktopKeyEvent& m : {SdlKeys::eventOf(SDL_Keysym{SDL_SCANCODE_SEMICOLON, SDLK_m, KMOD_NONE, 0}, false),
                                     fromBrowser("Semicolon", "m")}) {
        EXPECT_EQ(DesktopKeys::virtualKeyOf(m, true), 0);
        EXPECT_EQ(DesktopKeys::virtualKeyOf(m, false), 'M');
    }
}

TEST(DesktopKeysTest, EmulatorKeysAreRecognisedWithTheirModifiers) {
    const auto actionOf = [](SDL_Keycode key, uint16_t modifiers) {
        return DesktopKeys::emulatorActionOf(
            SdlKeys::eventOf(SDL_Keysym{SDL_GetScancodeFromKey(key), key, modifiers, 0}, false));
    };
    EXPECT_EQ(actionOf(SDLK_r, KMOD_LCTRL), Action::Rotate);
    EXPECT_EQ(actionOf(SDLK_r, KMOD_NONE), Action::None);  // a plain R is the game's
    EXPECT_EQ(actionOf(SDLK_r, KMOD_LCTRL | KMOD_LALT), Action::None);  // AltGr as some systems report it
    EXPECT_EQ(actionOf(SDLK_r, KMOD_LCTRL | KMOD_MODE), Action::None);
    EXPECT_EQ(actionOf(SDLK_F11, KMOD_NONE), Action::ToggleFullscreen);
    EXPECT_EQ(actionOf(SDLK_RETURN, KMOD_LALT), Action::ToggleFullscreen);
    EXPECT_EQ(actionOf(SDLK_KP_ENTER, KMOD_RALT), Action::ToggleFullscreen);
    EXPECT_EQ(actionOf(SDLK_RETURN, KMOD_NONE), Action::None);
    EXPECT_EQ(actionOf(SDLK_F12, KMOD_NONE), Action::Screenshot);
    EXPECT_EQ(actionOf(SDLK_EQUALS, KMOD_RCTRL), Action::ZoomIn);
    EXPECT_EQ(actionOf(SDLK_PLUS, KMOD_LCTRL), Action::ZoomIn);
    EXPECT_EQ(actionOf(SDLK_KP_MINUS, KMOD_LCTRL), Action::ZoomOut);
    EXPECT_EQ(actionOf(SDLK_MINUS, KMOD_NONE), Action::None);
    DesktopKeyEvent browser = fromBrowser("KeyR", "r");
    browser.control = true;
    EXPECT_EQ(DesktopKeys::emulatorActionOf(browser), Action::Rotate);
    browser = fromBrowser("NumpadAdd", "+");
    browser.control = true;
    EXPECT_EQ(DesktopKeys::emulatorActionOf(browser), Action::ZoomIn);
    browser = fromBrowser("NumpadEnter", "Enter");
    browser.alt = true;
    EXPECT_EQ(DesktopKeys::emulatorActionOf(browser), Action::ToggleFullscreen);
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
        EXPECT_EQ(DesktopKeys::virtualKeyOf(SdlKeys::eventOf(key, false), false), code);
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
