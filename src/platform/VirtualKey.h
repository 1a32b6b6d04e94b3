// The handheld's virtual-key codes that reach the game, and their names in input scripts.
#pragma once

#include <cstdint>
#include <string_view>

namespace vornel {

class VirtualKey {
public:
    static constexpr int32_t kBackspace = 8;
    static constexpr int32_t kEnter = 13;
    static constexpr int32_t kEscape = 27;
    static constexpr int32_t kSpace = 32;
    static constexpr int32_t kLeft = 37;
    static constexpr int32_t kUp = 38;
    static constexpr int32_t kRight = 39;
    static constexpr int32_t kDown = 40;
    static constexpr int32_t kDigit0 = 48;  // '0'..'9' are 48..57
    static constexpr int32_t kLetterA = 65;  // 'A'..'Z' are 65..90
    static constexpr int32_t kF1 = 112;
    static constexpr int32_t kF2 = 113;
    static constexpr int32_t kF8 = 119;
    static constexpr int32_t kF9 = 120;
    static constexpr int32_t kSlash = 191;
    // Keys the handheld has not: a script presses them on the desktop for the replay viewer.
    static constexpr int32_t kHome = 36;
    static constexpr int32_t kPeriod = 190;
    static constexpr int32_t kLeftBracket = 219;
    static constexpr int32_t kRightBracket = 221;

    // The code of a key name (left right up down enter escape backspace space f1 f2 f8 f9
    // slash, a-z, 0-9; letters in either case); 0 for any other name.
    static int32_t fromName(std::string_view name);
    // The two soft keys and the back key: the handheld's keyboard sent nothing when they went
    // down, only a key-up at their release, which the window turns into a press and a release.
    static constexpr bool sendsOnlyKeyUp(int32_t code) { return code == kF1 || code == kF2 || code == kEscape; }
};

}  // namespace vornel
