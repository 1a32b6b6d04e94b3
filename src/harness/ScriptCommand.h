// One command of an input script, with the line it came from.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vornel {

struct ScriptCommand {
    enum class Kind {
        Wait, KeyDown, KeyUp, Press, Char, Tap, Drag, Rotate, Activate, Screenshot, Quit,
        ButtonDown, ButtonUp, ButtonPress
    };

    Kind kind = Kind::Wait;
    int32_t line = 0;
    // Wait: milliseconds of device time; keys: the virtual-key code; Char: the character
    // code; Tap: x, y; Drag: x1, y1, x2, y2 (window pixels); Activate: 1 on, 0 off; buttons:
    // the ControllerButton.
    std::array<int32_t, 4> values{};
    std::string file;  // Screenshot
};

}  // namespace vornel
