// A controller's left analog stick as the d-pad: pushed out past half way along an axis it
// holds that direction's arrow key through ControllerKeys, so that it repeats, shares the key
// with the d-pad and is let go of with the controller, as a button is. It lets the key go only
// when it comes back inside three-eighths of the way, so that a stick resting near half way
// does not chatter.
#pragma once

#include <cstdint>

#include "device/ControllerKeys.h"

namespace vornel {

class StickKeys final {
public:
    // Of the axis' full travel of 32767 either side of the centre.
    static constexpr int32_t kPressBeyond = 16384;
    static constexpr int32_t kReleaseWithin = 12288;
    // The left stick's axes, numbered as SDL and the browser's standard gamepad number them.
    static constexpr int32_t kLeftX = 0;
    static constexpr int32_t kLeftY = 1;

    explicit StickKeys(ControllerKeys& keys) : m_keys(keys) {}

    // The key changes of the axis moving to value; axes other than the left stick's change
    // nothing.
    ControllerKeys::KeyChanges move(int32_t controller, int32_t axis, int32_t value, uint32_t nowMs);

private:
    // -1 toward the axis' negative end (left, up), 1 toward its positive end, 0 at rest.
    int32_t heldDirection(int32_t controller, int32_t axis) const;
    static int32_t directionAt(int32_t value, int32_t held);
    // The stick's directions held in ControllerKeys as buttons past every button's number.
    static int32_t buttonOf(int32_t axis, int32_t direction);
    static int32_t virtualKeyOf(int32_t axis, int32_t direction);

    ControllerKeys& m_keys;
};

}  // namespace vornel
