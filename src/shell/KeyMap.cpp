// The key table of the handheld's keypads and of the QWERTY device's letter keys.
#include "shell/KeyMap.h"

#include "sprites/GameKey.h"

namespace vornel {

int32_t KeyMap::mapVirtualKey(uint32_t virtualKey, bool qwerty) {
    switch (virtualKey) {
        case 8:  // backspace
            return GameKey::kBack;
        case 13:  // enter
            return GameKey::kConfirm;
        case kVirtualEscape:
            return GameKey::kBack;
        case 32:  // space
            return GameKey::kSpace;
        case 37:
            return GameKey::kLeft;
        case 38:
            return GameKey::kUp;
        case 39:
            return GameKey::kRight;
        case 40:
            return GameKey::kDown;
        case kVirtualF1:  // the first soft key confirms
            return GameKey::kConfirm;
        case kVirtualF2:
            return GameKey::kSecondSoftKey;
        case 119:  // F8, the keypad's star
            return GameKey::kStar;
        case 120:  // F9, the keypad's hash
            return GameKey::kHash;
        default:
            break;
    }
    // '9' is left out on purpose: it arrives as a character instead.
    if (virtualKey >= '0' && virtualKey <= '8') {
        return static_cast<int32_t>(virtualKey);
    }
    return qwerty ? mapLetter(virtualKey) : GameKey::kNone;
}

// W E R / S D F / Z X C / '/' are the keypad's 1 to 9 and 0, A its star and G its hash.
int32_t KeyMap::mapLetter(uint32_t virtualKey) {
    switch (virtualKey) {
        case 'A':
            return GameKey::kStar;
        case 'C':
            return GameKey::kDigit9;
        case 'D':
            return GameKey::kDigit5;
        case 'E':
            return GameKey::kDigit2;
        case 'F':
            return GameKey::kDigit6;
        case 'G':
            return GameKey::kHash;
        case 'R':
            return GameKey::kDigit3;
        case 'S':
            return GameKey::kDigit4;
        case 'W':
            return GameKey::kDigit1;
        case 'X':
            return GameKey::kDigit8;
        case 'Z':
            return GameKey::kDigit7;
        case 191:  // the '/' key
            return GameKey::kDigit0;
        default:
            return GameKey::kNone;
    }
}

}  // namespace vornel
