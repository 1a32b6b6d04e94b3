// The desktop keyboard as the handheld's keys: SDL key codes to virtual-key codes, and the
// emulator's own keys, which the window takes before the game could see them.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace vornel {

class KeyTranslation final {
public:
    enum class EmulatorAction { None, Rotate, ToggleFullscreen, Screenshot, ZoomIn, ZoomOut };

    // The handheld's virtual-key code of the key, 0 for keys the handheld does not have.
    // Keypad digits act as digits and the keypad's enter as enter.
    static int32_t virtualKeyOf(SDL_Keycode key);
    // The same for a key event. lettersByPlace: the letter keys and '/' give the virtual key of
    // their place on a US keyboard (their scancode), whatever the desktop's layout prints on
    // them, so that the letters that stand for a keypad keep its shape on AZERTY or QWERTZ.
    static int32_t virtualKeyOf(const SDL_Keysym& key, bool lettersByPlace);
    // Ctrl+R rotates, F11 and Alt+Enter switch full screen, F12 takes a screenshot,
    // Ctrl+plus (or Ctrl+equals) and Ctrl+minus zoom. Ctrl together with Alt or AltGr is no
    // emulator key: some systems report AltGr as Ctrl+Alt, and it types characters.
    static EmulatorAction emulatorActionOf(SDL_Keycode key, uint16_t modifiers);
};

}  // namespace vornel
