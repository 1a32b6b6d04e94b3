// The open game controllers.
#include "backends/sdl/GameControllers.h"

#include <cstdio>

namespace vornel {

void GameControllers::open(int32_t deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        std::fprintf(stderr, "vornel: cannot use game controller %d: %s\n", deviceIndex, SDL_GetError());
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (!m_open.emplace(id, controller).second) {
        SDL_GameControllerClose(controller);  // open already: SDL counted a second reference
    }
}

void GameControllers::close(SDL_JoystickID controller) {
    const auto found = m_open.find(controller);
    if (found != m_open.end()) {
        SDL_GameControllerClose(found->second);
        m_open.erase(found);
    }
}

void GameControllers::closeAll() {
    for (const auto& [id, controller] : m_open) {
        SDL_GameControllerClose(controller);
    }
    m_open.clear();
}

}  // namespace vornel
