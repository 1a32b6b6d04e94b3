// The handhelds the platform can emulate: what the game learns about the device, and the
// size and kind of its screen and input.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

struct DeviceProfile {
    std::string_view name;          // launcher name: pocketpc, pocketpc-vga, smartphone, qwerty
    std::string_view platformType;  // "PocketPC" or "Smartphone"
    std::string_view oemInfo;       // "Pocket PC", "Pocket PC VGA", "Smartphone", "MotoQ"
    int32_t screenWidth;            // physical screen, pixels, upright
    int32_t screenHeight;
    bool displayMemoryUsable;       // the raw frame buffer may be written directly
    bool pen;                       // the mouse acts as the pen
    bool lettersAsKeypad;           // letter keys stand in for the phone keypad

    // The profile of that launcher name, or null when there is none.
    static const DeviceProfile* find(std::string_view name);
    static const DeviceProfile& defaultProfile();
    // "pocketpc, pocketpc-vga, smartphone, qwerty", for messages.
    static std::string names();
};

}  // namespace vornel
