// The replay viewer's keys.
#include "device/ReplayControls.h"

namespace vornel {

std::optional<ReplayControls::Command> ReplayControls::commandOf(DesktopKey meaning) {
    switch (meaning) {
        case DesktopKey::kSpace:
            return Command::kPauseOrResume;
        case DesktopKey::kPeriod:
            return Command::kStep;
        case DesktopKey::kLeftBracket:
            return Command::kSlower;
        case DesktopKey::kRightBracket:
            return Command::kFaster;
        case DesktopKey::kLeft:
            return Command::kBack;
        case DesktopKey::kRight:
            return Command::kForward;
        case DesktopKey::kHome:
            return Command::kRestart;
        default:
            return std::nullopt;
    }
}

}  // namespace vornel
