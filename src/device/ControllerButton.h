// The game controller's buttons that input scripts can press, by name, and the handheld key
// each one stands for: the d-pad is the arrows, A confirms (Enter), B goes back (Escape) and
// Start is the second soft key (F2), which opens the menu.
#pragma once

#include <cstdint>
#include <string_view>

namespace vornel {

class ControllerButton final {
public:
    static constexpr int32_t kA = 1;
    static constexpr int32_t kB = 2;
    static constexpr int32_t kStart = 3;
    static constexpr int32_t kDpadUp = 4;
    static constexpr int32_t kDpadDown = 5;
    static constexpr int32_t kDpadLeft = 6;
    static constexpr int32_t kDpadRight = 7;

    // The button of a name (a b start dpad-up dpad-down dpad-left dpad-right); 0 for any
    // other name.
    static int32_t fromName(std::string_view name);
    // The virtual-key code of the key the button stands for.
    static int32_t virtualKeyOf(int32_t button);
    // The button of a browser's gamepad in its standard layout (the Gamepad API's buttons
    // 0, 1, 9 and 12 to 15); 0 for the buttons the game has no use for.
    static int32_t ofStandardGamepad(int32_t index);
};

}  // namespace vornel
