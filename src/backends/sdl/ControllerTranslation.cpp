// Button mapping of game controllers: one table both ways, the keys from ControllerButton.
#include "backends/sdl/ControllerTranslation.h"

#include <array>

#include "device/ControllerButton.h"

namespace vornel {
namespace {

struct ButtonPair {
    SDL_GameControllerButton sdl;
    int32_t button;
};

constexpr std::array<ButtonPair, 7> kButtonPairs = {{
    {SDL_CONTROLLER_BUTTON_A, ControllerButton::kA},
    {SDL_CONTROLLER_BUTTON_B, ControllerButton::kB},
    {SDL_CONTROLLER_BUTTON_START, ControllerButton::kStart},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, ControllerButton::kDpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, ControllerButton::kDpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, ControllerButton::kDpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, ControllerButton::kDpadRight},
}};

}  // namespace

int32_t ControllerTranslation::virtualKeyOf(SDL_GameControllerButton button) {
    for (const ButtonPair& pair : kButtonPairs) {
        if (pair.sdl == button) {
            return ControllerButton::virtualKeyOf(pair.button);
        }
    }
    return 0;
}

SDL_GameControllerButton ControllerTranslation::sdlButtonOf(int32_t button) {
    for (const ButtonPair& pair : kButtonPairs) {
        if (pair.button == button) {
            return pair.sdl;
        }
    }
    return SDL_CONTROLLER_BUTTON_INVALID;
}

}  // namespace vornel
