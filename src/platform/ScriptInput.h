// One piece of input an input script gives the device: a key going down or up, a typed
// character, the pen, the window's focus or a game controller's button. The device delivers
// it as its own input would arrive (a headless device as the window's messages, a window as
// events of its windowing system).
#pragma once

#include <cstdint>

namespace vornel {

struct ScriptInput {
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
