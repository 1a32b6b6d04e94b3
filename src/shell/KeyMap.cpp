// The key table of the handheld's keypads and of the QWERTY device's letter keys.
#include "shell/KeyMap.h"

#include "shell/ShellState.h"

namespace vornel {

int32_t KeyMap::mapVirtualKey(uint32_t virtualKey) {
    return mapVirtualKey(virtualKey, ShellState::instance().m_qwerty.load());
}

int32_t KeyMap::mapVirtualKey(uint32_t virtualKey, bool qwerty) {
    switch (virtualKey) {
        case 8:  // backspace
            return kBack;
        case 13:  // enter
            return kConfirm;
        case kVirtualEscape:
            return kBack;
        case 32:  // space
            return ' ';
        case 37:
            return kLeft;
        case 38:
            return kUp;
        case 39:
            return kRight;
        case 40:
            return kDown;
        case kVirtualF1:  // the first soft key confirms
            return kConfirm;
        case kVirtualF2:
            return kSecondSoftKey;
        case 119:  // F8, the keypad's star
            return '*';
        case 120:  // F9, the keypad's hash
            return '#';
        default:
            break;
    }
    // '9' is left out on purpose: it arrives as a character instead.
    if (virtualKey >= '0' && virtualKey <= '8') {
        return static_cast<int32_t>(virtualKey);
    }
    return qwerty ? mapLetter(virtualKey) : 0;
}

// W E R / S D F / Z X C / '/' are the keypad's 1 to 9 and 0, A its star and G its hash.
int32_t KeyMap::mapLetter(uint32_t virtualKey) {
    switch (virtualKey) {
        case 'A':
            return '*';
        case 'C':
            return '9';
        case 'D':
            return '5';
        case 'E':
            return '2';
        case 'F':
            return '6';
        case 'G':
            return '#';
        case 'R':
            return '3';
        case 'S':
            return '4';
        case 'W':
            return '1';
        case 'X':
            return '8';
        case 'Z':
            return '7';
        case 191:  // the '/' key
            return '0';
        default:
            return 0;
    }
}

}  // namespace vornel
