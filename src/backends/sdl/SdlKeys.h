// SDL's keys as desktop keys: the scancode as the key's place, the key code as its meaning
// in the desktop's layout. What they do is the device's table (DesktopKeys).
#pragma once

#include <SDL.h>

#include "device/DesktopKey.h"

namespace vornel {

class SdlKeys final {
public:
    static DesktopKeyEvent eventOf(const SDL_Keysym& key, bool repeat);
    static DesktopKey placeOf(SDL_Scancode scancode);
    static DesktopKey meaningOf(SDL_Keycode key);
};

}  // namespace vornel
