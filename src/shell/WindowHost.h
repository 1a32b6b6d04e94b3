// The game object's way to the window: presenting repainted rectangles through a paint of the
// window, and sounds through the sound player.
#pragma once

#include <cstdint>
#include <mutex>

#include "core/String.h"
#include "platform/Platform.h"
#include "sprites/ScreenHost.h"

namespace vornel {

class ShellState;

class WindowHost final : public ScreenHost {
public:
    // How often presentRect looks for the finished paint, 1 ms apart: the game thread waits
    // at most about half a second per rectangle.
    static constexpr int32_t kPaintPolls = 500;
    static constexpr uint32_t kPollMs = 1;

    // The shell state and the platform must outlive the host.
    WindowHost(ShellState& state, Platform& platform) : m_state(state), m_platform(platform) {}

    // Asks the window to paint the rectangle (game pixels; window pixels are twice as many in
    // double-size mode) and waits until the paint handler is done or the polls run out.
    void presentRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void playSound(const String& name, int32_t loop) override;
    void stopSound() override;

    // The game thread holds the lock while it changes the game's buffer; the paint handler
    // holds it while it reads the buffer. Never held while waiting for a paint.
    void beginDrawing() override;
    void endDrawing() override;
    std::mutex& drawingLock() { return m_drawing; }
    // Until the message loop has ended.
    bool isOpen() override;
    // Posts the message a closing window gets; the message loop then ends with status 0.
    void closeWindow() override;

protected:
    ~WindowHost() override = default;

private:
    ShellState& m_state;
    Platform& m_platform;
    std::mutex m_drawing;
};

}  // namespace vornel
