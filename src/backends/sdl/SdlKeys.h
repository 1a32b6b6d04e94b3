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
    // The key of a US keyboard, with no modifier held, that is the desktop key; its scancode
    // is SDL_SCANCODE_UNKNOWN for kNone.
    static SDL_Keysym keysymOf(DesktopKey key);
};

}  // namespace vornel
