// Making and clearing the three forms of the target surface.
#include "TargetSurface.h"

#include <algorithm>

namespace vornel::bench {

TargetSurface::TargetSurface(int32_t width, int32_t height)
    : m_width(width),
      m_height(height),
      m_game(allocInt<uint32_t>(width * height)),
      m_pixmanWords(static_cast<std::size_t>(width) * height) {
    m_pixman = pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, m_pixmanWords.data(),
                                        width * static_cast<int>(sizeof(uint32_t)));
    m_sdl = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
}

TargetSurface::~TargetSurface() {
    if (m_pixman != nullptr) {
        pixman_image_unref(m_pixman);
    }
    SDL_FreeSurface(m_sdl);
}

void TargetSurface::fill(uint32_t word) {
    std::fill(m_game.data(), m_game.data() + m_game.length(), word);
    std::fill(m_pixmanWords.begin(), m_pixmanWords.end(), word);
    if (m_sdl != nullptr) {
        for (int32_t y = 0; y < m_height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(m_sdl->pixels) + y * m_sdl->pitch);
            std::fill(row, row + m_width, word);
        }
    }
}

void TargetSurface::fillGameRows(int32_t top, int32_t bottom, uint32_t word) {
    top = std::clamp(top, 0, m_height);
    bottom = std::clamp(bottom, top, m_height);
    std::fill(m_game.data() + top * m_width, m_game.data() + bottom * m_width, word);
}

}  // namespace vornel::bench
