// The window's paint: the game's finished pixels go straight into display memory when they
// may, otherwise through the window's device context.
#pragma once

#include <cstdint>
#include <mutex>

#include "platform/Platform.h"
#include "shell/ShellState.h"
#include "sprites/Screen.h"

namespace vornel {

class PaintHandler final {
public:
    // Paints after a size change that must go through the device context.
    static constexpr int32_t kPaintsAfterSizeChange = 3;

    // The shell state and the platform must outlive the handler.
    PaintHandler(ShellState& state, Platform& platform) : m_state(state), m_platform(platform) {}

    // Handles the window's paint message and clears the paint-pending flag on every way out.
    void paint();

private:
    bool mayUseDisplayMemory() const;
    void paintIntoDisplayMemory(Screen& game, const Rect& paint);
    void paintThroughDeviceContext(Screen& game);
    // Keeps the game thread from changing the buffer while it is read.
    std::unique_lock<std::mutex> lockDrawing();
    // Whether the game's buffer holds its width × height pixels.
    static bool hasWholeBuffer(const Screen& game);

    ShellState& m_state;
    Platform& m_platform;
};

}  // namespace vornel
