// One piece of input given to the device from outside (an input script): a key going down or
// up, a typed character, the pen, the window's focus or a game controller's button. It is
// delivered as the device's own input would arrive (as the window's messages, or as events of
// the window's system).
#pragma once

#include <cstdint>

namespace vornel {

struct DeviceInput {
    enum class Kind { KeyDown, KeyUp, Char, PenDown, PenMove, PenUp, Activate, ButtonDown, ButtonUp };

    Kind kind = Kind::KeyDown;
    // Keys: the virtual-key code; Char: the character code; Activate: 1 on, 0 off;
    // buttons: a ControllerButton.
    int32_t value = 0;
    // The pen: window pixels of the handheld, inside its window.
    int32_t x = 0;
    int32_t y = 0;
};

}  // namespace vornel
