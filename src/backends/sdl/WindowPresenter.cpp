// Presentation in the SDL window, and its way down when the graphics driver fails.
#include "backends/sdl/WindowPresenter.h"

#include <algorithm>
#include <cstdio>

namespace vornel {

WindowPresenter::WindowPresenter(SDL_Window* window) : m_window(window) {}

WindowPresenter::~WindowPresenter() {
    destroyRenderer();
}

bool WindowPresenter::open() {
    if (createRenderer()) {
        m_route = Route::Renderer;
        return true;
    }
    std::fprintf(stderr, "vornel: no renderer for the window (%s); copying into it instead\n", SDL_GetError());
    fallBackToSurface();
    return windowSurface() != nullptr;
}

void WindowPresenter::show(const DisplayImage& picture, const ScreenPlacement& where) {
    const SDL_Rect target{where.left, where.top, picture.width() * where.scale, picture.height() * where.scale};
    if (m_route == Route::Renderer && (textureFits(picture) || recoverTexture(picture))) {
        showThroughRenderer(picture, target);
        return;
    }
    if (m_route == Route::WindowSurface && !showThroughSurface(picture, target)) {
        std::fprintf(stderr, "vornel: cannot copy into the window either (%s); the display is no longer shown\n",
                     SDL_GetError());
        m_route = Route::Nothing;
    }
}

SDL_Point WindowPresenter::outputSize() const {
    SDL_Point size{0, 0};
    if (m_renderer != nullptr && SDL_GetRendererOutputSize(m_renderer, &size.x, &size.y) == 0) {
        return size;
    }
    SDL_GetWindowSizeInPixels(m_window, &size.x, &size.y);
    return size;
}

bool WindowPresenter::createRenderer() {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    if (m_renderer == nullptr) {
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    }
    return m_renderer != nullptr;
}

void WindowPresenter::destroyRenderer() {
    if (m_texture != nullptr) {
        SDL_DestroyTexture(m_texture);
        m_texture = nullptr;
    }
    if (m_renderer != nullptr) {
        SDL_DestroyRenderer(m_renderer);
        m_renderer = nullptr;
    }
}

// A turned display needs a texture of the other shape.
bool WindowPresenter::textureFits(const DisplayImage& picture) {
    if (m_texture != nullptr && m_textureWidth == picture.width() && m_textureHeight == picture.height()) {
        return true;
    }
    return createTexture(picture.width(), picture.height());
}

bool WindowPresenter::createTexture(int32_t width, int32_t height) {
    if (m_texture != nullptr) {
        SDL_DestroyTexture(m_texture);
        m_texture = nullptr;
    }
    ++m_textureCreations;
    if (m_faults.failingTextures > 0) {
        --m_faults.failingTextures;
        SDL_SetError("texture creation failed for a test");
        return false;
    }
    m_texture = SDL_CreateTexture(m_renderer, kShownFormat, SDL_TEXTUREACCESS_STREAMING, width, height);
    m_textureWidth = width;
    m_textureHeight = height;
    return m_texture != nullptr;
}

// A driver that refuses a texture may have lost its device; a renderer made afresh often
// works again. When it does not, the window's own surface still can be drawn in.
bool WindowPresenter::recoverTexture(const DisplayImage& picture) {
    std::fprintf(stderr, "vornel: cannot make the display's texture (%s); starting the renderer afresh\n",
                 SDL_GetError());
    destroyRenderer();
    if (createRenderer() && createTexture(picture.width(), picture.height())) {
        return true;
    }
    std::fprintf(stderr, "vornel: still no texture (%s); copying into the window instead\n", SDL_GetError());
    fallBackToSurface();
    return false;
}

void WindowPresenter::showThroughRenderer(const DisplayImage& picture, const SDL_Rect& target) {
    SDL_UpdateTexture(m_texture, nullptr, rgbOf(picture), picture.width() * 4);
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, &target);
    SDL_RenderPresent(m_renderer);
}

bool WindowPresenter::showThroughSurface(const DisplayImage& picture, const SDL_Rect& target) {
    SDL_Surface* window = windowSurface();
    if (window == nullptr) {
        return false;
    }
    // SDL reads the pixels only; the surface merely points at the widened copy.
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(rgbOf(picture), picture.width(), picture.height(), 32,
                                                             picture.width() * 4, kShownFormat);
    if (source == nullptr) {
        return false;
    }
    SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 0, 0, 0));
    SDL_Rect placed = target;  // SDL clips it in place
    const bool copied = SDL_BlitScaled(source, nullptr, window, &placed) == 0;
    SDL_FreeSurface(source);
    return copied && SDL_UpdateWindowSurface(m_window) == 0;
}

uint32_t* WindowPresenter::rgbOf(const DisplayImage& picture) {
    const std::vector<uint16_t>& pixels = picture.pixels();
    m_rgb.resize(pixels.size());
    std::transform(pixels.begin(), pixels.end(), m_rgb.begin(), DisplayImage::toRgb888);
    return m_rgb.data();
}

// Asked for anew each time: a resized window's surface is a new one.
SDL_Surface* WindowPresenter::windowSurface() {
    if (m_faults.windowSurfaceFails) {
        SDL_SetError("the window's surface failed for a test");
        return nullptr;
    }
    return SDL_GetWindowSurface(m_window);
}

// The window's surface and a renderer exclude each other.
void WindowPresenter::fallBackToSurface() {
    destroyRenderer();
    m_route = Route::WindowSurface;
}

}  // namespace vornel
