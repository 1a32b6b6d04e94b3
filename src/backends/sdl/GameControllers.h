// The game controllers the SDL window has open, by SDL's instance id: opened as SDL reports
// them plugged in (and for each present at the start), closed as they are unplugged and when
// the window goes. What their buttons do is ControllerKeys' and StickKeys'. Window thread.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>

namespace vornel {

class GameControllers final {
public:
    GameControllers() = default;
    GameControllers(const GameControllers&) = delete;
    GameControllers& operator=(const GameControllers&) = delete;
    ~GameControllers() { closeAll(); }

    // One line on stderr when SDL cannot open it.
    void open(int32_t deviceIndex);
    void close(SDL_JoystickID controller);
    // Before SDL shuts down.
    void closeAll();

private:
    std::map<SDL_JoystickID, SDL_GameController*> m_open;
};

}  // namespace vornel
