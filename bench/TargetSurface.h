// The surface every drawing benchmark draws into, once for each side of the comparison: the
// game's word array, a pixman x8r8g8b8 image and an SDL XRGB8888 surface of the same size.
#pragma once

#include <cstdint>
#include <vector>

#include <SDL.h>
#include <pixman.h>

#include "core/Array.h"

namespace vornel::bench {

class TargetSurface {
public:
    static constexpr int32_t kWidth = 240;   // the Pocket PC screen the game draws for
    static constexpr int32_t kHeight = 320;

    TargetSurface(int32_t width = kWidth, int32_t height = kHeight);
    ~TargetSurface();
    TargetSurface(const TargetSurface&) = delete;
    TargetSurface& operator=(const TargetSurface&) = delete;

    // Sets every pixel of all three to the word (colour, and for the game its depth byte).
    void fill(uint32_t word);
    // Sets the game's rows [top, bottom) to the word, leaving the peers' alone.
    void fillGameRows(int32_t top, int32_t bottom, uint32_t word);

    const Array<uint32_t>& game() const { return m_game; }
    pixman_image_t* pixman() const { return m_pixman; }
    SDL_Surface* sdl() const { return m_sdl; }
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    bool isReady() const { return !m_game.isEmpty() && m_pixman != nullptr && m_sdl != nullptr; }

private:
    int32_t m_width;
    int32_t m_height;
    Array<uint32_t> m_game;
    std::vector<uint32_t> m_pixmanWords;
    pixman_image_t* m_pixman = nullptr;
    SDL_Surface* m_sdl = nullptr;
};

}  // namespace vornel::bench
