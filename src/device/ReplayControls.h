// What the replay viewer is told by the person watching, through the desktop's keys or the
// page's controls, and what it shows of itself. While a device has replay controls, none of
// the live keys, text, pen or buttons reach the game (a playback brings its own input); the
// viewer's keys go to the controls, the emulator's own keys keep working.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "device/DesktopKey.h"

namespace vornel {

class ReplayControls {
public:
    enum class Command : uint8_t {
        kPauseOrResume,  // Space
        kStep,           // '.': one frame, while paused
        kSlower,         // '[': half the speed
        kFaster,         // ']': twice the speed
        kBack,           // Left: 5 seconds back
        kForward,        // Right: 5 seconds on
        kRestart,        // Home: from the start
    };

    // The command a key (by its meaning in the desktop's layout) gives; none for other keys.
    static std::optional<Command> commandOf(DesktopKey meaning);

    // On the window thread.
    virtual void command(Command command) = 0;
    // On the window thread: the position, the length and the speed, for the window's title.
    virtual std::string status() const = 0;

protected:
    ~ReplayControls() = default;
};

}  // namespace vornel
