// The pen's rule on every backend: on a handheld with a pen, a press starts a stroke, moves
// count only during one and its release ends it; a handheld without a pen gets none of it.
// Each step answers the window's message to post, if any.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/WindowMessage.h"

namespace vornel {

class PenRule final {
public:
    explicit PenRule(bool hasPen) : m_hasPen(hasPen) {}

    // Window pixels of the handheld.
    std::optional<WindowMessage> down(int32_t x, int32_t y);
    std::optional<WindowMessage> move(int32_t x, int32_t y);
    std::optional<WindowMessage> up(int32_t x, int32_t y);
    bool isDown() const { return m_down; }

private:
    const bool m_hasPen;
    bool m_down = false;
};

}  // namespace vornel
