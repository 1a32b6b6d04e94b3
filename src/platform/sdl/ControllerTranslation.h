// A game controller as the handheld's keys: which virtual key each button stands for.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace vornel {

class ControllerTranslation final {
public:
    // The handheld's virtual-key code of the button, 0 for buttons the game has no use for:
    // the d-pad gives the arrows, A confirms (Enter), B goes back (Escape) and Start is the
    // second soft key (F2), which opens the menu.
    static int32_t virtualKeyOf(SDL_GameControllerButton button);
};

}  // namespace vornel
