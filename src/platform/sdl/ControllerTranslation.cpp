// Button mapping of game controllers.
#include "platform/sdl/ControllerTranslation.h"

#include "platform/VirtualKey.h"

namespace vornel {

int32_t ControllerTranslation::virtualKeyOf(SDL_GameControllerButton button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return VirtualKey::kUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return VirtualKey::kDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return VirtualKey::kLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return VirtualKey::kRight;
        case SDL_CONTROLLER_BUTTON_A: return VirtualKey::kEnter;
        case SDL_CONTROLLER_BUTTON_B: return VirtualKey::kEscape;
        case SDL_CONTROLLER_BUTTON_START: return VirtualKey::kF2;
        default: return 0;
    }
}

}  // namespace vornel
