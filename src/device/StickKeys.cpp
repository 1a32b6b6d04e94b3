// The left analog stick as arrow keys, with a dead zone and hysteresis.
#include "device/StickKeys.h"

#include "platform/VirtualKey.h"

namespace vornel {
namespace {

constexpr int32_t kFirstStickButton = 0x100;

bool isLeftStick(int32_t axis) {
    return axis == StickKeys::kLeftX || axis == StickKeys::kLeftY;
}

}  // namespace

ControllerKeys::KeyChanges StickKeys::move(int32_t controller, int32_t axis, int32_t value,
                                           uint32_t nowMs) {
    if (!isLeftStick(axis)) {
        return {};
    }
    const int32_t held = heldDirection(controller, axis);
    const int32_t wanted = directionAt(value, held);
    if (wanted == held) {
        return {};
    }
    ControllerKeys::KeyChanges changes;
    if (held != 0) {
        changes = m_keys.release(controller, buttonOf(axis, held));
    }
    if (wanted != 0) {
        const auto pressed = m_keys.press(controller, buttonOf(axis, wanted), virtualKeyOf(axis, wanted), nowMs);
        changes.insert(changes.end(), pressed.begin(), pressed.end());
    }
    return changes;
}

// What ControllerKeys holds is the stick's state: a focus loss or an unplugging that lets go
// of the keys leaves the stick at rest too.
int32_t StickKeys::heldDirection(int32_t controller, int32_t axis) const {
    if (m_keys.isHeld(controller, buttonOf(axis, -1))) {
        return -1;
    }
    return m_keys.isHeld(controller, buttonOf(axis, 1)) ? 1 : 0;
}

int32_t StickKeys::directionAt(int32_t value, int32_t held) {
    if (held != 0 && value * held > kReleaseWithin) {
        return held;
    }
    if (value >= kPressBeyond) {
        return 1;
    }
    return value <= -kPressBeyond ? -1 : 0;
}

int32_t StickKeys::buttonOf(int32_t axis, int32_t direction) {
    return kFirstStickButton + 2 * axis + (direction > 0 ? 1 : 0);
}

int32_t StickKeys::virtualKeyOf(int32_t axis, int32_t direction) {
    if (axis == kLeftX) {
        return direction < 0 ? VirtualKey::kLeft : VirtualKey::kRight;
    }
    return direction < 0 ? VirtualKey::kUp : VirtualKey::kDown;
}

}  // namespace vornel
