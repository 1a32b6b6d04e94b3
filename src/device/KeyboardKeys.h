// The desktop keyboard's key events as the handheld's key messages. Each key is taken either
// as an emulator key or as a key of the handheld when it goes down, and keeps that meaning,
// with the same virtual key, for its repeats and its release, whatever modifiers or layout
// changed meanwhile: the game never sees a key-down without its key-up.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "device/DesktopKeys.h"

namespace vornel {

class KeyboardKeys final {
public:
    struct Press {
        DesktopKeys::EmulatorAction action = DesktopKeys::EmulatorAction::None;  // to perform
        int32_t virtualKey = 0;  // the key-down to send, 0 for none
    };

    // lettersByPlace: the letter keys and '/' give the virtual key of their place on a US
    // keyboard, whatever the desktop's layout prints on them.
    explicit KeyboardKeys(bool lettersByPlace) : m_lettersByPlace(lettersByPlace) {}

    // An emulator key acts on its first press only, not on its repeats.
    Press press(const DesktopKeyEvent& key);
    // The key-up's virtual key, 0 for none; a key that went down before the window looked
    // goes up with the virtual key it has now.
    int32_t release(const DesktopKeyEvent& key);
    // The same for keys seen going down only: a release without its press gives no key-up
    // (the browser keeps some presses to itself, such as the Escape that leaves full screen).
    int32_t releaseHeld(const DesktopKeyEvent& key);
    // Lets go of every key held (the window lost the focus): the key-ups' virtual keys.
    std::vector<int32_t> releaseAll();
    // Text that comes with an emulator key (Ctrl+plus types a '+') is not the game's.
    bool lastPressWasEmulatorKey() const { return m_lastPressWasEmulatorKey; }

private:
    static constexpr int32_t kEmulatorKey = -1;

    const bool m_lettersByPlace;
    std::map<uint32_t, int32_t> m_down;  // virtual key of each key held, or kEmulatorKey
    bool m_lastPressWasEmulatorKey = false;
};

}  // namespace vornel
