// Keys held on the desktop keyboard, each with the meaning it got when it went down.
#include "device/KeyboardKeys.h"

namespace vornel {

KeyboardKeys::Press KeyboardKeys::press(const DesktopKeyEvent& key) {
    const auto held = m_down.find(key.physical);
    if (key.repeat && held != m_down.end()) {
        m_lastPressWasEmulatorKey = held->second == kEmulatorKey;
        return {DesktopKeys::EmulatorAction::None, m_lastPressWasEmulatorKey ? 0 : held->second};
    }
    const auto action = DesktopKeys::emulatorActionOf(key);
    m_lastPressWasEmulatorKey = action != DesktopKeys::EmulatorAction::None;
    if (m_lastPressWasEmulatorKey) {
        m_down[key.physical] = kEmulatorKey;
        return {key.repeat ? DesktopKeys::EmulatorAction::None : action, 0};
    }
    const int32_t code = DesktopKeys::virtualKeyOf(key, m_lettersByPlace);
    m_down[key.physical] = code;
    return {DesktopKeys::EmulatorAction::None, code};
}

int32_t KeyboardKeys::release(const DesktopKeyEvent& key) {
    const auto held = m_down.find(key.physical);
    if (held == m_down.end()) {
        return DesktopKeys::virtualKeyOf(key, m_lettersByPlace);  // went down before we looked
    }
    const int32_t code = held->second;
    m_down.erase(held);
    return code == kEmulatorKey ? 0 : code;
}

int32_t KeyboardKeys::releaseHeld(const DesktopKeyEvent& key) {
    return m_down.count(key.physical) != 0 ? release(key) : 0;
}

std::vector<int32_t> KeyboardKeys::releaseAll() {
    std::vector<int32_t> released;
    for (const auto& [physical, code] : m_down) {
        if (code > 0) {
            released.push_back(code);
        }
    }
    m_down.clear();
    return released;
}

}  // namespace vornel
