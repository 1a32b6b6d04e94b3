// The message procedure of the one window: keys and the pen become game key codes and pen
// coordinates in the game object, size and activation changes reach the game, paints are
// handled. It runs on the first thread and never calls game logic directly.
#pragma once

#include <cstdint>

#include "platform/WindowMessage.h"
#include "sprites/Screen.h"

namespace vornel {

class WindowProcedure {
public:
    // Size of the shell activation record, bytes.
    static constexpr uint32_t kActivationRecordSize = 12;
    // A virtual key the platform sends at key up that is not a key of the game.
    static constexpr uint32_t kIgnoredKeyUp = 0x86;
    // wParam of a pen move while the pen is down and nothing else is.
    static constexpr uint32_t kPenDownOnly = 1;

    static int32_t mainWindowProc(const WindowMessage& message);

private:
    static int32_t onCreate();
    static int32_t onDestroy();
    static int32_t onSize(const WindowMessage& message);
    static int32_t onActivate(const WindowMessage& message);
    static int32_t onSettingChange(const WindowMessage& message);
    static int32_t onKeyDown(Screen& game, uint32_t virtualKey);
    static int32_t onKeyUp(Screen& game, uint32_t virtualKey);
    static int32_t onChar(Screen& game, uint32_t character);
    static int32_t onPenMove(Screen& game, const WindowMessage& message);
    static int32_t onPenDown(Screen& game, uint32_t point);
    static int32_t onPenUp(Screen& game, uint32_t point);
    // The input messages that only mean something once the game object exists.
    static int32_t onGameInput(Screen& game, const WindowMessage& message);
    static bool isGameInput(MessageType type);

    // Window pixels to game pixels: halved in double-size mode.
    static int32_t toGamePixels(int32_t windowPixels);
    static void setStylus(Screen& game, int32_t x, int32_t y);
};

}  // namespace vornel
