// The demonstration's built-in player.
#include "shell/DemoPlayer.h"

#include <cstdlib>

#include "core/Random.h"
#include "platform/Platform.h"

namespace vornel {

void DemoPlayer::steer(int32_t x, int32_t y, int32_t width, int32_t height, int32_t frameTime) {
    m_targetAge += frameTime;
    const bool reached = std::abs(m_targetX - x) <= kCloseEnough && std::abs(m_targetY - y) <= kCloseEnough;
    if (!m_hasTarget || reached || m_targetAge > kTargetLifeMs || m_targetX >= width || m_targetY >= height) {
        pickTarget(width, height);
    }
    setArrow(0, m_targetX < x - kCloseEnough);
    setArrow(1, m_targetY < y - kCloseEnough);
    setArrow(2, m_targetX > x + kCloseEnough);
    setArrow(3, m_targetY > y + kCloseEnough);
}

void DemoPlayer::pickTarget(int32_t width, int32_t height) {
    m_targetX = randomRange(0, width > 0 ? width - 1 : 0);
    m_targetY = randomRange(0, height > 0 ? height - 1 : 0);
    m_targetAge = 0;
    m_hasTarget = true;
}

void DemoPlayer::setArrow(int32_t index, bool held) {
    if (m_held[index] == held) {
        return;
    }
    m_held[index] = held;
    WindowMessage message;
    message.type = held ? MessageType::KeyDown : MessageType::KeyUp;
    message.wParam = kFirstArrowKey + static_cast<uint32_t>(index);
    Platform::current().postMessage(message);
}

}  // namespace vornel
