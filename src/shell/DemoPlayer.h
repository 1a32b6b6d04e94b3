// The built-in player of the demonstration: it steers the ball toward a wandering target by
// holding arrow keys, through the same key messages a person's keys make.
#pragma once

#include <cstdint>

namespace vornel {

class DemoPlayer {
public:
    static constexpr int32_t kCloseEnough = 4;     // pixels from the target on each axis
    static constexpr int32_t kTargetLifeMs = 3000;  // a target not reached by then is replaced

    // One frame: picks a new target when needed, then presses and releases arrows so that
    // the ball at (x, y) heads for it. The play area is width × height pixels.
    void steer(int32_t x, int32_t y, int32_t width, int32_t height, int32_t frameTime);

    int32_t targetX() const { return m_targetX; }
    int32_t targetY() const { return m_targetY; }

private:
    void pickTarget(int32_t width, int32_t height);
    // Holds or lets go of the arrow key; a message goes out only on a change.
    void setArrow(int32_t index, bool held);

    static constexpr int32_t kArrows = 4;  // left, up, right, down: virtual keys 37 to 40
    static constexpr uint32_t kFirstArrowKey = 37;

    bool m_hasTarget = false;
    int32_t m_targetX = 0;
    int32_t m_targetY = 0;
    int32_t m_targetAge = 0;  // ms
    bool m_held[kArrows] = {false, false, false, false};
};

}  // namespace vornel
