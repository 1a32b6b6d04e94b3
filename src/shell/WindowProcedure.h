// The message procedure of the one window: keys and the pen become game key codes and pen
// coordinates in the game's input queue, size and activation changes reach the game, paints are
// handled. It runs on the first thread and never calls game logic directly.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "platform/WindowMessage.h"
#include "shell/PaintHandler.h"
#include "shell/ShellState.h"
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

    // The shell state, the platform and the paint handler must outlive the procedure.
    WindowProcedure(ShellState& state, Platform& platform, PaintHandler& paintHandler)
        : m_state(state), m_platform(platform), m_paintHandler(paintHandler) {}

    int32_t mainWindowProc(const WindowMessage& message);

private:
    int32_t onCreate();
    int32_t onDestroy();
    int32_t onSize(const WindowMessage& message);
    int32_t onActivate(const WindowMessage& message);
    int32_t onSettingChange(const WindowMessage& message);
    int32_t onKeyDown(InputQueue& input, uint32_t virtualKey);
    int32_t onKeyUp(InputQueue& input, uint32_t virtualKey);
    int32_t onChar(InputQueue& input, uint32_t character);
    int32_t onPenMove(InputQueue& input, const WindowMessage& message);
    int32_t onPenDown(InputQueue& input, uint32_t point);
    int32_t onPenUp(InputQueue& input, uint32_t point);
    // The input messages that only mean something once the game object exists.
    int32_t onGameInput(InputQueue& input, const WindowMessage& message);
    int32_t passGameInput(InputQueue& input, const WindowMessage& message);
    // The message being handled went into the game's input: its receipt stamp is delivered.
    void handedToGame();
    static bool isGameInput(MessageType type);

    // The game key of a virtual key on this device (KeyMap), 0 for none.
    int32_t gameKeyOf(uint32_t virtualKey) const;
    // Window pixels to game pixels: halved in double-size mode.
    int32_t toGamePixels(int32_t windowPixels) const;

    ShellState& m_state;
    Platform& m_platform;
    PaintHandler& m_paintHandler;
    int64_t m_receivedUs = 0;  // the stamp of the input message being handled
};

}  // namespace vornel
