// The desktop keyboard's key events as the handheld's key messages. Each key is taken either
// as an emulator key or as a key of the handheld when it goes down, and keeps that meaning,
// with the same virtual key, for its repeats and its release, whatever modifiers or layout
// changed meanwhile: the game never sees a key-down without its key-up.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>

#include "backends/sdl/KeyTranslation.h"

namespace vornel {

class KeyboardKeys final {
public:
    struct Press {
        KeyTranslation::EmulatorAction action = KeyTranslation::EmulatorAction::None;  // to perform
        int32_t virtualKey = 0;  // the key-down to send, 0 for none
    };

    // lettersByPlace: the letter keys and '/' give the virtual key of their place on a US
    // keyboard, whatever the desktop's layout prints on them.
    explicit KeyboardKeys(bool lettersByPlace) : m_lettersByPlace(lettersByPlace) {}

    // repeat: SDL's key repeat of a key held down; an emulator key acts on its first press only.
    Press press(const SDL_Keysym& key, bool repeat);
    // The key-up's virtual key, 0 for none.
    int32_t release(const SDL_Keysym& key);
    // Text that comes with an emulator key (Ctrl+plus types a '+') is not the game's.
    bool lastPressWasEmulatorKey() const { return m_lastPressWasEmulatorKey; }

private:
    static constexpr int32_t kEmulatorKey = -1;

    const bool m_lettersByPlace;
    std::map<SDL_Scancode, int32_t> m_down;  // virtual key of each key held, or kEmulatorKey
    bool m_lastPressWasEmulatorKey = false;
};

}  // namespace vornel
