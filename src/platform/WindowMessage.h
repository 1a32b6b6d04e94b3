// The messages of the handheld's window, with the meaning of their two parameters as the
// window procedure reads them.
#pragma once

#include <cstdint>

namespace vornel {

enum class MessageType : uint8_t {
    Create,           // the window is being made
    Destroy,          // the window is closing: the procedure posts the quit message
    Size,             // lParam: client width in the low 16 bits, height in the high 16 bits
    Activate,         // wParam low 16 bits: 0 inactive, otherwise active
    Paint,            // a rectangle was invalidated; the procedure paints between begin and end
    EraseBackground,  //
    SettingChange,    //
    KeyDown,          // wParam: virtual-key code (backspace 8, enter 13, escape 27, space 32,
    KeyUp,            //   arrows 37-40, digits 48-57, letters 65-90, F1 112, F2 113, F8 119,
                      //   F9 120, '/' 191)
    Char,             // wParam: the character typed (8-bit)
    PenMove,          // wParam: 1 while the pen is down and nothing else; lParam: x | y << 16
    PenDown,          // lParam: x | y << 16, window pixels
    PenUp,            // lParam: x | y << 16
};

struct WindowMessage {
    MessageType type = MessageType::Paint;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
    // When the backend received the key or pen event the message came from, real microseconds
    // (InputLatency::now); 0 for a message no event of the player's gave.
    int64_t receivedUs = 0;
};

inline constexpr WindowMessage messageOf(MessageType type, uint32_t wParam = 0, uint32_t lParam = 0) {
    return WindowMessage{type, wParam, lParam};
}

inline constexpr uint32_t packPoint(int32_t x, int32_t y) {
    return (static_cast<uint32_t>(x) & 0xFFFF) | (static_cast<uint32_t>(y) & 0xFFFF) << 16;
}
inline constexpr int32_t lowWord(uint32_t value) { return static_cast<int32_t>(value & 0xFFFF); }
inline constexpr int32_t highWord(uint32_t value) { return static_cast<int32_t>(value >> 16 & 0xFFFF); }

}  // namespace vornel
