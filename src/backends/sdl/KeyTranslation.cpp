// Key mapping of the SDL window.
#include "backends/sdl/KeyTranslation.h"

#include "platform/VirtualKey.h"

namespace vornel {
namespace {

int32_t keypadDigitOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_KP_0: return 0;
        case SDLK_KP_1: return 1;
        case SDLK_KP_2: return 2;
        case SDLK_KP_3: return 3;
        case SDLK_KP_4: return 4;
        case SDLK_KP_5: return 5;
        case SDLK_KP_6: return 6;
        case SDLK_KP_7: return 7;
        case SDLK_KP_8: return 8;
        case SDLK_KP_9: return 9;
        default: return -1;
    }
}

bool isLetterOrSlash(SDL_Keycode key) {
    return (key >= SDLK_a && key <= SDLK_z) || key == SDLK_SLASH;
}

}  // namespace

int32_t KeyTranslation::virtualKeyOf(const SDL_Keysym& key, bool lettersByPlace) {
    if (!lettersByPlace) {
        return virtualKeyOf(key.sym);
    }
    if (key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z) {
        return VirtualKey::kLetterA + (key.scancode - SDL_SCANCODE_A);
    }
    if (key.scancode == SDL_SCANCODE_SLASH) {
        return VirtualKey::kSlash;
    }
    // A letter printed on some other key is not one of the handheld's letter keys.
    return isLetterOrSlash(key.sym) ? 0 : virtualKeyOf(key.sym);
}

int32_t KeyTranslation::virtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return VirtualKey::kLetterA + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return VirtualKey::kDigit0 + (key - SDLK_0);
    }
    if (const int32_t digit = keypadDigitOf(key); digit >= 0) {
        return VirtualKey::kDigit0 + digit;
    }
    switch (key) {
        case SDLK_BACKSPACE: return VirtualKey::kBackspace;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return VirtualKey::kEnter;
        case SDLK_ESCAPE: return VirtualKey::kEscape;
        case SDLK_SPACE: return VirtualKey::kSpace;
        case SDLK_LEFT: return VirtualKey::kLeft;
        case SDLK_UP: return VirtualKey::kUp;
        case SDLK_RIGHT: return VirtualKey::kRight;
        case SDLK_DOWN: return VirtualKey::kDown;
        case SDLK_F1: return VirtualKey::kF1;
        case SDLK_F2: return VirtualKey::kF2;
        case SDLK_F8: return VirtualKey::kF8;
        case SDLK_F9: return VirtualKey::kF9;
        case SDLK_SLASH: return VirtualKey::kSlash;
        default: return 0;
    }
}

KeyTranslation::EmulatorAction KeyTranslation::emulatorActionOf(SDL_Keycode key, uint16_t modifiers) {
    const bool alt = (modifiers & KMOD_ALT) != 0;
    const bool control = (modifiers & KMOD_CTRL) != 0 && !alt && (modifiers & KMOD_MODE) == 0;
    if (key == SDLK_F11 || (alt && (key == SDLK_RETURN || key == SDLK_KP_ENTER))) {
        return EmulatorAction::ToggleFullscreen;
    }
    if (key == SDLK_F12) {
        return EmulatorAction::Screenshot;
    }
    if (!control) {
        return EmulatorAction::None;
    }
    switch (key) {
        case SDLK_r: return EmulatorAction::Rotate;
        case SDLK_PLUS:
        case SDLK_EQUALS:
        case SDLK_KP_PLUS: return EmulatorAction::ZoomIn;
        case SDLK_MINUS:
        case SDLK_KP_MINUS: return EmulatorAction::ZoomOut;
        default: return EmulatorAction::None;
    }
}

}  // namespace vornel
