// The game's key codes: what the window's input hands the game for a key or a pen tap.
#pragma once

#include <cstdint>

namespace vornel {

// A plain enum with int32 underlying values, scoped by this struct: the codes travel as
// int32 through the key queue (stored there as signed bytes, so typed characters above 127
// come back negative), they index the held bits (code k is bit k & 31 of word k >> 5), and
// the game compares and orders them against characters ("codes 1 to 4 are the arrows",
// "anything above the arrows dismisses"). An enum class would need a cast at every one of
// those places; these names convert to int32 on their own and stay out of the namespace.
struct GameKey {
    enum Code : int32_t {
        kNone = 0,  // no key; also what the queue answers when it is empty
        kLeft = 1,
        kRight = 2,
        kUp = 3,
        kDown = 4,
        kConfirm = 5,        // the action key; a pen tap presses it too
        kSecondSoftKey = 6,  // opens the menu
        kBack = 7,
        kNewline = '\n',     // a typed Return: chooses as confirm does
        kSpace = ' ',
        kHash = '#',
        kStar = '*',
        kDigit0 = '0',
        kDigit1 = '1',
        kDigit2 = '2',
        kDigit3 = '3',
        kDigit4 = '4',
        kDigit5 = '5',
        kDigit6 = '6',
        kDigit7 = '7',
        kDigit8 = '8',
        kDigit9 = '9',
    };

    static constexpr int32_t kLastArrow = kDown;  // codes kLeft to kDown are the arrows
};

}  // namespace vornel
