// The surface every drawing benchmark draws into: the game's word array, seen by pixman as an
// x8r8g8b8 image and by SDL as an XRGB8888 surface. There is one for the whole run, made on
// first use, and all three share its memory, as the game keeps one surface for its whole run:
// a new surface for each run of each benchmark landed on other physical pages each time, which
// moved the fills' times, ours and the peers' differently, by up to a half.
#pragma once

#include <cstdint>

#include <SDL.h>
#include <pixman.h>

#include "core/Array.h"

namespace vornel::bench {

class TargetSurface {
public:
    static constexpr int32_t kWidth = 240;   // the Pocket PC screen the game draws for
    static constexpr int32_t kHeight = 320;

    static TargetSurface& shared();

    TargetSurface(int32_t width = kWidth, int32_t height = kHeight);
    ~TargetSurface();
    TargetSurface(const TargetSurface&) = delete;
    TargetSurface& operator=(const TargetSurface&) = delete;

    // Sets every pixel to the word (colour, and for the game its depth byte, which the peers'
    // formats ignore).
    void fill(uint32_t word);
    // Sets the rows [top, bottom) to the word.
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
    pixman_image_t* m_pixman = nullptr;
    SDL_Surface* m_sdl = nullptr;
};

}  // namespace vornel::bench
