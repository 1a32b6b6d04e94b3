// A desktop key as every backend reports it: the key's place on the keyboard (as a US
// keyboard labels that place) and what the key means in the desktop's layout, each one of the
// keys the handheld or the emulator has a use for, or kNone. A backend names its own key
// codes this way (SDL's scancodes and key codes, the browser's event.code and event.key);
// what the keys do is decided once, by DesktopKeys.
#pragma once

#include <cstdint>

namespace vornel {

enum class DesktopKey : uint8_t {
    kNone = 0,
    kLetterA = 1,  // kLetterA + 0..25: A to Z
    kDigit0 = kLetterA + 26,  // kDigit0 + 0..9: the digits of the top row
    kNumpad0 = kDigit0 + 10,  // kNumpad0 + 0..9: the keypad's digits
    kNumpadEnter = kNumpad0 + 10,
    kNumpadPlus,
    kNumpadMinus,
    kEnter,
    kBackspace,
    kEscape,
    kSpace,
    kLeft,
    kUp,
    kRight,
    kDown,
    kF1,
    kF2,
    kF8,
    kF9,
    kF11,
    kF12,
    kSlash,
    kEquals,
    kPlus,
    kMinus,
    kPeriod,        // the replay viewer's keys
    kLeftBracket,
    kRightBracket,
    kHome,
};

// One press or release of a desktop key.
struct DesktopKeyEvent {
    uint32_t physical = 0;  // the backend's own identity of the key, the same down and up
    DesktopKey place = DesktopKey::kNone;
    DesktopKey meaning = DesktopKey::kNone;
    bool control = false;
    bool alt = false;
    bool altGraph = false;  // AltGr (some systems report it as Control with Alt)
    bool repeat = false;    // the system's repeat of a key held down
};

}  // namespace vornel
