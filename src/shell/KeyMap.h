// The handheld's virtual-key codes turned into the game's key codes.
#pragma once

#include <cstdint>

namespace vornel {

class KeyMap {
public:
    // Game key codes: directions, confirm, the second soft key and back; the keypad passes
    // digits, '*', '#' and space as their characters.
    static constexpr int32_t kLeft = 1;
    static constexpr int32_t kRight = 2;
    static constexpr int32_t kUp = 3;
    static constexpr int32_t kDown = 4;
    static constexpr int32_t kConfirm = 5;
    static constexpr int32_t kSecondSoftKey = 6;
    static constexpr int32_t kBack = 7;

    // Virtual keys with a meaning of their own to the window procedure.
    static constexpr uint32_t kVirtualEscape = 27;
    static constexpr uint32_t kVirtualF1 = 112;
    static constexpr uint32_t kVirtualF2 = 113;

    // The game key of a virtual key, 0 for none; the letter keys count only on a QWERTY
    // device, where they stand in for a phone keypad.
    static int32_t mapVirtualKey(uint32_t virtualKey, bool qwerty);
    // The same, for the device the process runs on.
    static int32_t mapVirtualKey(uint32_t virtualKey);

private:
    static int32_t mapLetter(uint32_t virtualKey);
};

}  // namespace vornel
