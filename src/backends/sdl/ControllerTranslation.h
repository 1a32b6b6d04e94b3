// A game controller as the handheld's keys: SDL's buttons as the controller buttons of the
// platform (ControllerButton), which say what key each one stands for.
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
    // SDL's button for a ControllerButton (a script presses it on a virtual controller);
    // SDL_CONTROLLER_BUTTON_INVALID for anything else.
    static SDL_GameControllerButton sdlButtonOf(int32_t button);
};

}  // namespace vornel
