// Making and clearing the three forms of the target surface.
#include "TargetSurface.h"

#include <algorithm>

namespace vornel::bench {

TargetSurface& TargetSurface::shared() {
    static TargetSurface surface;
    return surface;
}

TargetSurface::TargetSurface(int32_t width, int32_t height)
    : m_width(width),
      m_height(height),
      m_game(allocInt<uint32_t>(width * height)) {
    if (m_game.isEmpty()) {
        return;
    }
    const int pitch = width * static_cast<int>(sizeof(uint32_t));
    m_pixman = pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, m_game.data(), pitch);
    m_sdl = SDL_CreateRGBSurfaceWithFormatFrom(m_game.data(), width, height, 32, pitch, SDL_PIXELFORMAT_RGB888);
}

TargetSurface::~TargetSurface() {
    if (m_pixman != nullptr) {
        pixman_image_unref(m_pixman);
    }
    SDL_FreeSurface(m_sdl);
}

void TargetSurface::fill(uint32_t word) {
    std::fill(m_game.data(), m_game.data() + m_game.length(), word);
}

void TargetSurface::fillGameRows(int32_t top, int32_t bottom, uint32_t word) {
    top = std::clamp(top, 0, m_height);
    bottom = std::clamp(bottom, top, m_height);
    std::fill(m_game.data() + top * m_width, m_game.data() + bottom * m_width, word);
}

}  // namespace vornel::bench
