// The look shared by the game's modal screens: the menu, help, about, the fortune panel
// and the high-score table.
#pragma once

#include <cstdint>

#include "core/Fixed.h"

namespace vornel::panel {

// Half-transparent dark blue: alpha 0x80, red 0x40, green 0x40, blue 0x80.
inline constexpr uint32_t kPanelColor = 0x80404080;

// Pictures of the bank "app".
inline constexpr int32_t kButtonPicture = 1;
inline constexpr int32_t kUpMarkerPicture = 2;
inline constexpr int32_t kDownMarkerPicture = 3;
inline constexpr int32_t kCloseMarkerPicture = 4;

// A tap answer above this is an item's letter, not a key code.
inline constexpr int32_t kHighestKeyCode = 32;

}  // namespace vornel::panel
