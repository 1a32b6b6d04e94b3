// Keys held on the desktop keyboard, each with the meaning it got when it went down.
#include "backends/sdl/KeyboardKeys.h"

namespace vornel {

KeyboardKeys::Press KeyboardKeys::press(const SDL_Keysym& key, bool repeat) {
    const auto held = m_down.find(key.scancode);
    if (repeat && held != m_down.end()) {
        m_lastPressWasEmulatorKey = held->second == kEmulatorKey;
        return {KeyTranslation::EmulatorAction::None, m_lastPressWasEmulatorKey ? 0 : held->second};
    }
    const auto action = KeyTranslation::emulatorActionOf(key.sym, key.mod);
    m_lastPressWasEmulatorKey = action != KeyTranslation::EmulatorAction::None;
    if (m_lastPressWasEmulatorKey) {
        m_down[key.scancode] = kEmulatorKey;
        return {repeat ? KeyTranslation::EmulatorAction::None : action, 0};
    }
    const int32_t code = KeyTranslation::virtualKeyOf(key, m_lettersByPlace);
    m_down[key.scancode] = code;
    return {KeyTranslation::EmulatorAction::None, code};
}

int32_t KeyboardKeys::release(const SDL_Keysym& key) {
    const auto held = m_down.find(key.scancode);
    if (held == m_down.end()) {
        return KeyTranslation::virtualKeyOf(key, m_lettersByPlace);  // went down before we looked
    }
    const int32_t code = held->second;
    m_down.erase(held);
    return code == kEmulatorKey ? 0 : code;
}

}  // namespace vornel
