// Converting picture words into the peers' pixel formats.
#include "PeerPicture.h"

#include <algorithm>

namespace vornel::bench {
namespace {

constexpr uint32_t kOpaqueCode = 7;

uint32_t channel(uint32_t colour, int shift) { return colour >> shift & 0xFF; }

uint32_t argb(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue) {
    return alpha << 24 | red << 16 | green << 8 | blue;
}

}  // namespace

uint32_t PeerPicture::alphaOf(uint32_t word) {
    const uint32_t code = word >> kAlphaShift;
    return code == kOpaqueCode ? 0xFF : code * 32;
}

uint32_t PeerPicture::premultiplied(uint32_t word) {
    const uint32_t alpha = alphaOf(word);
    const uint32_t colour = word & kColourMask;
    return argb(alpha, std::min(channel(colour, 16), alpha), std::min(channel(colour, 8), alpha),
                std::min(channel(colour, 0), alpha));
}

uint32_t PeerPicture::straight(uint32_t word) {
    const uint32_t alpha = alphaOf(word);
    if (alpha == 0) {
        return 0;
    }
    const uint32_t colour = word & kColourMask;
    const auto unmultiply = [alpha](uint32_t value) { return std::min<uint32_t>(255, value * 255 / alpha); };
    return argb(alpha, unmultiply(channel(colour, 16)), unmultiply(channel(colour, 8)),
                unmultiply(channel(colour, 0)));
}

PeerPicture::PeerPicture(const Picture& picture) : m_width(picture.m_width), m_height(picture.m_height) {
    const int64_t count = static_cast<int64_t>(m_width) * m_height;
    if (m_width <= 0 || m_height <= 0 || picture.m_pixels.length() < count) {
        return;
    }
    const uint32_t* words = picture.m_pixels.data();
    m_premultipliedWords.resize(static_cast<std::size_t>(count));
    std::transform(words, words + count, m_premultipliedWords.begin(), premultiplied);
    m_pixman = pixman_image_create_bits(PIXMAN_a8r8g8b8, m_width, m_height, m_premultipliedWords.data(),
                                        m_width * static_cast<int>(sizeof(uint32_t)));
    m_sdl = SDL_CreateRGBSurfaceWithFormat(0, m_width, m_height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (m_sdl == nullptr) {
        return;
    }
    for (int32_t y = 0; y < m_height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(m_sdl->pixels) + y * m_sdl->pitch);
        std::transform(words + y * m_width, words + (y + 1) * m_width, row, straight);
    }
}

PeerPicture::~PeerPicture() {
    if (m_pixman != nullptr) {
        pixman_image_unref(m_pixman);
    }
    SDL_FreeSurface(m_sdl);
}

}  // namespace vornel::bench
