// The handheld's virtual-key codes turned into the game's key codes.
#pragma once

#include <cstdint>

namespace vornel {

class KeyMap final {
public:
    // Virtual keys with a meaning of their own to the window procedure.
    static constexpr uint32_t kVirtualEscape = 27;
    static constexpr uint32_t kVirtualF1 = 112;
    static constexpr uint32_t kVirtualF2 = 113;

    // The game key (GameKey) of a virtual key, 0 for none: directions, confirm, the second
    // soft key and back, and the keypad's digits, '*', '#' and space as their characters.
    // The letter keys count only on a QWERTY device, where they stand in for a phone keypad.
    static int32_t mapVirtualKey(uint32_t virtualKey, bool qwerty);

private:
    static int32_t mapLetter(uint32_t virtualKey);
};

}  // namespace vornel
