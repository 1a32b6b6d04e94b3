// Controller buttons of input scripts.
#include "device/ControllerButton.h"

#include <array>

#include "platform/VirtualKey.h"

namespace vornel {
namespace {

struct NamedButton {
    std::string_view name;
    int32_t button;
    int32_t virtualKey;
};

constexpr std::array<NamedButton, 7> kButtons = {{
    {"a", ControllerButton::kA, VirtualKey::kEnter},
    {"b", ControllerButton::kB, VirtualKey::kEscape},
    {"start", ControllerButton::kStart, VirtualKey::kF2},
    {"dpad-up", ControllerButton::kDpadUp, VirtualKey::kUp},
    {"dpad-down", ControllerButton::kDpadDown, VirtualKey::kDown},
    {"dpad-left", ControllerButton::kDpadLeft, VirtualKey::kLeft},
    {"dpad-right", ControllerButton::kDpadRight, VirtualKey::kRight},
}};

}  // namespace

int32_t ControllerButton::fromName(std::string_view name) {
    for (const NamedButton& entry : kButtons) {
        if (entry.name == name) {
            return entry.button;
        }
    }
    return 0;
}

int32_t ControllerButton::ofStandardGamepad(int32_t index) {
    switch (index) {
        case 0: return kA;
        case 1: return kB;
        case 9: return kStart;
        case 12: return kDpadUp;
        case 13: return kDpadDown;
        case 14: return kDpadLeft;
        case 15: return kDpadRight;
        default: return 0;
    }
}

int32_t ControllerButton::virtualKeyOf(int32_t button) {
    for (const NamedButton& entry : kButtons) {
        if (entry.button == button) {
            return entry.virtualKey;
        }
    }
    return 0;
}

}  // namespace vornel
