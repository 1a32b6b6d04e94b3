// The desktop's keyboard, text input and mouse in the SDL window, on SDL's windowless video
// driver: real SDL events become the handheld's key, character and pen messages.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "SdlTestWindow.h"

namespace vornel {
namespace {

using testing_support::SdlTestWindow;
using testing_support::Seen;

Seen down(uint32_t code) { return {MessageType::KeyDown, code}; }
Seen up(uint32_t code) { return {MessageType::KeyUp, code}; }
Seen typed(uint32_t character) { return {MessageType::Char, character}; }

class SdlKeyboardTest : public testing::Test {
protected:
    void TearDown() override { SDL_SetModState(KMOD_NONE); }

    void open(const char* profile, int32_t zoom = 1) {
        ASSERT_NO_FATAL_FAILURE(m_window.open(*DeviceProfile::find(profile), zoom));
    }

    std::vector<Seen> settle() { return m_window.settle(); }

    // sym: the key's symbol in the desktop's layout; scancode: its place on the keyboard.
    static void pushKey(uint32_t type, SDL_Keycode sym, SDL_Scancode scancode, uint16_t mod = KMOD_NONE,
                        bool repeat = false) {
        SDL_SetModState(static_cast<SDL_Keymod>(mod));  // as SDL's own keyboard would have it
        SDL_Event event;
        SDL_zero(event);
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }

    static void pushTap(SDL_Keycode sym, SDL_Scancode scancode, uint16_t mod = KMOD_NONE) {
        pushKey(SDL_KEYDOWN, sym, scancode, mod);
        pushKey(SDL_KEYUP, sym, scancode, mod);
    }

    static void pushText(const char* utf8) {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
        SDL_PushEvent(&event);
    }

    // A button's press or release, or with button 0 a move with the buttons in state held.
    static void pushMouse(uint32_t type, uint8_t button, int32_t x, int32_t y, uint32_t state = 0) {
        SDL_Event event;
        SDL_zero(event);
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            event.motion.state = state;
            event.motion.x = x;
            event.motion.y = y;
        } else {
            event.button.button = button;
            event.button.x = x;
            event.button.y = y;
        }
        SDL_PushEvent(&event);
    }

    SdlTestWindow m_window;
};

TEST_F(SdlKeyboardTest, SoftKeysAndBackArriveAsOneKeyUpAtTheirRelease) {
    ASSERT_NO_FATAL_FAILURE(open("pocketpc"));
    for (const auto& [sym, scancode, code] : {std::tuple{SDLK_F1, SDL_SCANCODE_F1, 112u},
                                              std::tuple{SDLK_F2, SDL_SCANCODE_F2, 113u},
                                              std::tuple{SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27u}}) {
        pushKey(SDL_KEYDOWN, sym, scancode);
        pushKey(SDL_KEYDOWN, sym, scancode, KMOD_NONE, true);
        pushKey(SDL_KEYUP, sym, scancode);
        EXPECT_EQ(settle(), std::vector<Seen>{up(code)}) << code;
    }
}

TEST_F(SdlKeyboardTest, ArrowsAndKeypadDigitsArriveAsKeyDownsAndUps) {
    ASSERT_NO_FATAL_FAILURE(open("pocketpc"));
    pushKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT);
    pushKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_NONE, true);
    pushKey(SDL_KEYUP, SDLK_LEFT, SDL_SCANCODE_LEFT);
    pushTap(SDLK_KP_8, SDL_SCANCODE_KP_8);
    pushTap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    EXPECT_EQ(settle(), (std::vector<Seen>{down(37), down(37), up(37), down('8'), up('8'), down(13), up(13)}));
}

// The handheld's letters stood for a phone keypad by their place: W E R / S D F / Z X C.
TEST_F(SdlKeyboardTest, OnTheQwertyHandheldLettersFollowTheKeysPlace) {
    ASSERT_NO_FATAL_FAILURE(open("qwerty"));
    pushTap(SDLK_a, SDL_SCANCODE_Q);           // AZERTY's A sits where Q is
    pushTap(SDLK_z, SDL_SCANCODE_W);           // AZERTY's Z: the keypad's 1
    pushTap(SDLK_y, SDL_SCANCODE_Z);           // QWERTZ's Y: the keypad's 7
    pushTap(SDLK_EXCLAIM, SDL_SCANCODE_SLASH);  // AZERTY's '!': the keypad's 0
    pushTap(SDLK_SLASH, SDL_SCANCODE_PERIOD);  // a '/' elsewhere is no keypad key
    pushText("y");                             // what is typed follows the layout
    EXPECT_EQ(settle(), (std::vector<Seen>{down('Q'), up('Q'), down('W'), up('W'), down('Z'), up('Z'), down(191),
                                           up(191), typed('y')}));
}

TEST_F(SdlKeyboardTest, ElsewhereLettersFollowTheKeysSymbol) {
    ASSERT_NO_FATAL_FAILURE(open("pocketpc"));
    pushTap(SDLK_a, SDL_SCANCODE_Q);
    pushTap(SDLK_SLASH, SDL_SCANCODE_PERIOD);
    EXPECT_EQ(settle(), (std::vector<Seen>{down('A'), up('A'), down(191), up(191)}));
}

// Control pressed while R is held must not turn R's release into the emulator's.
TEST_F(SdlKeyboardTest, AKeyGoesUpWithTheCodeItWentDownWith) {
    ASSERT_NO_FATAL_FAILURE(open("pocketpc"));
    pushKey(SDL_KEYDOWN, SDLK_r, SDL_SCANCODE_R);
    pushKey(SDL_KEYDOWN, SDLK_r, SDL_SCANCODE_R, KMOD_LCTRL, true);
    pushKey(SDL_KEYUP, SDLK_p, SDL_SCANCODE_R, KMOD_LCTRL);  // the layout changed meanwhile
    EXPECT_EQ(settle(), (std::vector<Seen>{down('R'), down('R'), up('R')}));
    EXPECT_EQ(m_window.device().displayOrientation(), Platform::kOrientation0);
}

TEST_F(SdlKeyboardTest, TextTypedWithAltGrArrivesButNotWithAnEmulatorKey) {
    ASSERT_NO_FATAL_FAILURE(open("pocketpc"));
    constexpr uint16_t kAltGrAsCtrlAlt = KMOD_LCTRL | KMOD_RALT;
    pushKey(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, kAltGrAsCtrlAlt);
    pushText("@");
    pushKey(SDL_KEYDOWN, SDLK_e, SDL_SCANCODE_E, kAltGrAsCtrlAlt);
    pushText("\u20AC");  // beyond the handheld's 8-bit characters
    pushKey(SDL_KEYDOWN, SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET, kAltGrAsCtrlAlt);
    pushText("~");
    pushText("\u00E9");
    EXPECT_EQ(settle(), (std::vector<Seen>{down('Q'), typed('@'), down('E'), typed('~'), typed(0xE9)}));
    EXPECT_EQ(m_window.device().zoom(), 1);

    pushKey(SDL_KEYDOWN, SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET, KMOD_LCTRL);
    pushText("+");
    pushKey(SDL_KEYUP, SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET, KMOD_LCTRL);
    pushKey(SDL_KEYDOWN, SDLK_b, SDL_SCANCODE_B);
    pushText("b");
    EXPECT_EQ(settle(), (std::vector<Seen>{down('B'), typed('b')}));
    EXPECT_EQ(m_window.device().zoom(), 2);
}

TEST_F(SdlKeyboardTest, TheMouseIsThePenInGamePixelsAtTheWindowsZoom) {
    ASSERT_NO_FATAL_FAILURE(open("pocketpc", 2));
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 101, 201);
    pushMouse(SDL_MOUSEMOTION, 0, 301, 403, SDL_BUTTON_LMASK);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 303, 405);
    pushMouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 303, 405);
    pushMouse(SDL_MOUSEMOTION, 0, 10, 10);
    EXPECT_EQ(settle(), (std::vector<Seen>{{MessageType::PenDown, 0, packPoint(50, 100)},
                                           {MessageType::PenMove, 1, packPoint(150, 201)},
                                           {MessageType::PenUp, 0, packPoint(151, 202)}}));
}

}  // namespace
}  // namespace vornel
