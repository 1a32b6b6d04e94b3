// The pen's strokes.
#include "device/PenRule.h"

namespace vornel {

std::optional<WindowMessage> PenRule::down(int32_t x, int32_t y) {
    if (!m_hasPen) {
        return std::nullopt;
    }
    m_down = true;
    return messageOf(MessageType::PenDown, 0, packPoint(x, y));
}

std::optional<WindowMessage> PenRule::move(int32_t x, int32_t y) {
    if (!m_down) {
        return std::nullopt;
    }
    return messageOf(MessageType::PenMove, 1, packPoint(x, y));
}

std::optional<WindowMessage> PenRule::up(int32_t x, int32_t y) {
    if (!m_down) {
        return std::nullopt;
    }
    m_down = false;
    return messageOf(MessageType::PenUp, 0, packPoint(x, y));
}

}  // namespace vornel
