// What the desktop's keys do on every backend: which of them are the handheld's keys (and
// which virtual key each gives), which are the emulator's own keys, and the names the browser
// gives its keys. The controller buttons' keys are in ControllerButton, the pen's rule in
// PenRule.
#pragma once

#include <cstdint>
#include <string_view>

#include "device/DesktopKey.h"

namespace vornel {

class DesktopKeys final {
public:
    enum class EmulatorAction { None, Rotate, ToggleFullscreen, Screenshot, ZoomIn, ZoomOut };

    static constexpr DesktopKey letter(int32_t index) {
        return static_cast<DesktopKey>(static_cast<int32_t>(DesktopKey::kLetterA) + index);
    }
    static constexpr DesktopKey digit(int32_t value) {
        return static_cast<DesktopKey>(static_cast<int32_t>(DesktopKey::kDigit0) + value);
    }
    static constexpr DesktopKey numpadDigit(int32_t value) {
        return static_cast<DesktopKey>(static_cast<int32_t>(DesktopKey::kNumpad0) + value);
    }

    // The handheld's virtual-key code of the key, 0 for keys the handheld does not have, by
    // what the key means; keypad digits act as digits and the keypad's enter as enter.
    // lettersByPlace (a handheld whose letters stand for a keypad): the letter keys and '/'
    // give the virtual key of their place on a US keyboard, whatever the layout prints on them,
    // so that the keypad keeps its shape on AZERTY or QWERTZ, and a letter printed on another
    // key is none of the handheld's.
    static int32_t virtualKeyOf(const DesktopKeyEvent& key, bool lettersByPlace);
    // Ctrl+R rotates, F11 and Alt+Enter switch full screen, F12 takes a screenshot,
    // Ctrl+plus (or Ctrl+equals) and Ctrl+minus zoom. Control together with Alt or AltGr is
    // no emulator key: some systems report AltGr as Ctrl+Alt, and it types characters.
    static EmulatorAction emulatorActionOf(const DesktopKeyEvent& key);

    // The desktop key of the main keyboard that gives the virtual key by its meaning (the
    // way back, for input made up by a script); kNone when none gives it.
    static DesktopKey ofVirtualKey(int32_t virtualKey);

    // The browser's names: a KeyboardEvent's code (the place: "KeyA", "Digit1", "Numpad5",
    // "ArrowUp", ...) and its key (the meaning: "a", "1", "ArrowUp", "+", ...).
    static DesktopKey ofBrowserCode(std::string_view code);
    static DesktopKey ofBrowserKey(std::string_view key);
    // The desktop key that stands for a key of the handheld by its name on an on-screen key
    // ("Up", "Down", "Left", "Right", "Action", "Left soft key", "Right soft key", "Back",
    // "0" to "9", "*", "#"); kNone for any other name.
    static DesktopKey ofHandheldKey(std::string_view name);
};

}  // namespace vornel
