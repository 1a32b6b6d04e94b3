// SDL's names of the desktop keys.
#include "backends/sdl/SdlKeys.h"

#include <array>

#include "device/DesktopKeys.h"

namespace vornel {
namespace {

struct SdlKey {
    DesktopKey key;
    SDL_Scancode scancode;
    SDL_Keycode keycode;
};

constexpr std::array<SdlKey, 25> kNamedKeys = {{
    {DesktopKey::kNumpadEnter, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER},
    {DesktopKey::kNumpadPlus, SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS},
    {DesktopKey::kNumpadMinus, SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS},
    {DesktopKey::kEnter, SDL_SCANCODE_RETURN, SDLK_RETURN},
    {DesktopKey::kBackspace, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE},
    {DesktopKey::kEscape, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE},
    {DesktopKey::kSpace, SDL_SCANCODE_SPACE, SDLK_SPACE},
    {DesktopKey::kLeft, SDL_SCANCODE_LEFT, SDLK_LEFT},
    {DesktopKey::kUp, SDL_SCANCODE_UP, SDLK_UP},
    {DesktopKey::kRight, SDL_SCANCODE_RIGHT, SDLK_RIGHT},
    {DesktopKey::kDown, SDL_SCANCODE_DOWN, SDLK_DOWN},
    {DesktopKey::kF1, SDL_SCANCODE_F1, SDLK_F1},
    {DesktopKey::kF2, SDL_SCANCODE_F2, SDLK_F2},
    {DesktopKey::kF8, SDL_SCANCODE_F8, SDLK_F8},
    {DesktopKey::kF9, SDL_SCANCODE_F9, SDLK_F9},
    {DesktopKey::kF11, SDL_SCANCODE_F11, SDLK_F11},
    {DesktopKey::kF12, SDL_SCANCODE_F12, SDLK_F12},
    {DesktopKey::kSlash, SDL_SCANCODE_SLASH, SDLK_SLASH},
    {DesktopKey::kEquals, SDL_SCANCODE_EQUALS, SDLK_EQUALS},
    {DesktopKey::kPlus, SDL_SCANCODE_UNKNOWN, SDLK_PLUS},
    {DesktopKey::kMinus, SDL_SCANCODE_MINUS, SDLK_MINUS},
    {DesktopKey::kPeriod, SDL_SCANCODE_PERIOD, SDLK_PERIOD},
    {DesktopKey::kLeftBracket, SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET},
    {DesktopKey::kRightBracket, SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET},
    {DesktopKey::kHome, SDL_SCANCODE_HOME, SDLK_HOME},
}};

// SDL's keypad digits: 1 to 9 come before 0, in scancodes and key codes alike.
int32_t keypadDigitOf(int32_t fromOne, int32_t zero, int32_t value) {
    if (value == zero) {
        return 0;
    }
    const int32_t digit = value - fromOne + 1;
    return digit >= 1 && digit <= 9 ? digit : -1;
}

}  // namespace

DesktopKeyEvent SdlKeys::eventOf(const SDL_Keysym& key, bool repeat) {
    DesktopKeyEvent event;
    event.physical = static_cast<uint32_t>(key.scancode);
    event.place = placeOf(key.scancode);
    event.meaning = meaningOf(key.sym);
    event.control = (key.mod & KMOD_CTRL) != 0;
    event.alt = (key.mod & KMOD_ALT) != 0;
    event.altGraph = (key.mod & KMOD_MODE) != 0;
    event.repeat = repeat;
    return event;
}

SDL_Keysym SdlKeys::keysymOf(DesktopKey key) {
    SDL_Keysym keysym;
    SDL_zero(keysym);
    const auto index = static_cast<int32_t>(key);
    const int32_t letter = index - static_cast<int32_t>(DesktopKey::kLetterA);
    const int32_t digit = index - static_cast<int32_t>(DesktopKey::kDigit0);
    if (key != DesktopKey::kNone && letter >= 0 && letter < 26) {
        keysym.scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + letter);
        keysym.sym = SDLK_a + letter;
    } else if (digit >= 0 && digit < 10) {
        keysym.scancode = digit == 0 ? SDL_SCANCODE_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_1 + digit - 1);
        keysym.sym = SDLK_0 + digit;
    }
    for (const SdlKey& named : kNamedKeys) {
        if (named.key == key && key != DesktopKey::kNone) {
            keysym.scancode = named.scancode;
            keysym.sym = named.keycode;
        }
    }
    return keysym;
}

DesktopKey SdlKeys::placeOf(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return DesktopKeys::letter(scancode - SDL_SCANCODE_A);
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return DesktopKeys::digit(scancode - SDL_SCANCODE_1 + 1);
    }
    if (scancode == SDL_SCANCODE_0) {
        return DesktopKeys::digit(0);
    }
    if (const int32_t digit = keypadDigitOf(SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_0, scancode); digit >= 0) {
        return DesktopKeys::numpadDigit(digit);
    }
    for (const SdlKey& named : kNamedKeys) {
        if (named.scancode == scancode && scancode != SDL_SCANCODE_UNKNOWN) {
            return named.key;
        }
    }
    return DesktopKey::kNone;
}

DesktopKey SdlKeys::meaningOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return DesktopKeys::letter(key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return DesktopKeys::digit(key - SDLK_0);
    }
    if (const int32_t digit = keypadDigitOf(SDLK_KP_1, SDLK_KP_0, key); digit >= 0) {
        return DesktopKeys::numpadDigit(digit);
    }
    for (const SdlKey& named : kNamedKeys) {
        if (named.keycode == key) {
            return named.key;
        }
    }
    return DesktopKey::kNone;
}

}  // namespace vornel
