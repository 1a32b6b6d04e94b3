// The message procedure of the one window: keys and the pen become game key codes and pen
// coordinates in the game's input queue, size and activation changes reach the game, paints are
// handled. It runs on the first thread and never calls game logic directly.
#pragma once

#include <cstdint>

#include "platform/WindowMessage.h"
#include "sprites/InputQueue.h"

namespace vornel {

class WindowProcedure final {
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
    static int32_t onKeyDown(InputQueue& input, uint32_t virtualKey);
    static int32_t onKeyUp(InputQueue& input, uint32_t virtualKey);
    static int32_t onChar(InputQueue& input, uint32_t character);
    static int32_t onPenMove(InputQueue& input, const WindowMessage& message);
    static int32_t onPenDown(InputQueue& input, uint32_t point);
    static int32_t onPenUp(InputQueue& input, uint32_t point);
    // The input messages that only mean something once the game object exists.
    static int32_t onGameInput(InputQueue& input, const WindowMessage& message);
    static bool isGameInput(MessageType type);

    // Window pixels to game pixels: halved in double-size mode.
    static int32_t toGamePixels(int32_t windowPixels);
};

}  // namespace vornel
