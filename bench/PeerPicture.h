// A game picture converted once, outside any timed loop, into what the peers draw from: a
// premultiplied a8r8g8b8 pixman image and a straight-alpha ARGB8888 SDL surface.
#pragma once

#include <cstdint>
#include <vector>

#include <SDL.h>
#include <pixman.h>

#include "media/Picture.h"

namespace vornel::bench {

class PeerPicture {
public:
    explicit PeerPicture(const Picture& picture);
    ~PeerPicture();
    PeerPicture(const PeerPicture&) = delete;
    PeerPicture& operator=(const PeerPicture&) = delete;

    // A picture word's alpha code (0..7) as an 8-bit alpha: code × 32, and 255 for code 7.
    static uint32_t alphaOf(uint32_t word);
    // The word as premultiplied ARGB; the game's coarse premultiplication is kept, only cut
    // so that no channel exceeds the alpha.
    static uint32_t premultiplied(uint32_t word);
    // The word as straight ARGB, for SDL's blend, which multiplies by alpha itself.
    static uint32_t straight(uint32_t word);

    pixman_image_t* pixman() const { return m_pixman; }
    SDL_Surface* sdl() const { return m_sdl; }
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    // Both forms exist; false when the picture was empty or a library refused it.
    bool isReady() const { return m_pixman != nullptr && m_sdl != nullptr; }

private:
    int32_t m_width;
    int32_t m_height;
    std::vector<uint32_t> m_premultipliedWords;  // the pixman image's pixels
    pixman_image_t* m_pixman = nullptr;
    SDL_Surface* m_sdl = nullptr;
};

}  // namespace vornel::bench
