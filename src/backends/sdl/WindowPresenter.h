// Shows the emulated display in the window: through an SDL renderer and a streaming texture
// while the graphics driver plays along, by scaled copies into the window's own surface when
// it does not, and not at all when neither works. Each step down is told once on stderr; a
// frame that cannot be shown is dropped, never retried in a loop. Window thread only.
// The 5-6-5 display goes up widened to 8-8-8, the format windows draw in: SDL's software
// renderer and surfaces scale a picture of their own format with a plain stretch, but one of
// another format pixel by pixel through a general converter, four times as long.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "device/DisplayImage.h"
#include "backends/sdl/ScreenPlacement.h"

namespace vornel {

class WindowPresenter final {
public:
    static constexpr uint32_t kShownFormat = SDL_PIXELFORMAT_RGB888;

    enum class Route { Renderer, WindowSurface, Nothing };

    // Failures a test asks for, since the drivers that fail this way cannot be had on demand.
    struct InjectedFaults {
        int32_t failingTextures = 0;  // this many texture creations fail from now on
        bool windowSurfaceFails = false;
    };

    explicit WindowPresenter(SDL_Window* window);
    ~WindowPresenter();
    WindowPresenter(const WindowPresenter&) = delete;
    WindowPresenter& operator=(const WindowPresenter&) = delete;

    // The first way of drawing; false when there is none at all.
    bool open();
    // Shows the picture where the placement says, in pixels of outputSize(), black around.
    void show(const DisplayImage& picture, const ScreenPlacement& where);
    // What the picture is drawn on, in device pixels: more than the window's size in points
    // on a scaled display.
    SDL_Point outputSize() const;

    Route route() const { return m_route; }
    int32_t textureCreations() const { return m_textureCreations; }
    void injectFaults(const InjectedFaults& faults) { m_faults = faults; }

private:
    bool createRenderer();
    void destroyRenderer();
    bool textureFits(const DisplayImage& picture);
    bool createTexture(int32_t width, int32_t height);
    bool recoverTexture(const DisplayImage& picture);
    void showThroughRenderer(const DisplayImage& picture, const SDL_Rect& target);
    bool showThroughSurface(const DisplayImage& picture, const SDL_Rect& target);
    SDL_Surface* windowSurface();
    // The picture's pixels as 8-8-8 (kShownFormat), kept until the next call.
    uint32_t* rgbOf(const DisplayImage& picture);
    void fallBackToSurface();

    SDL_Window* m_window;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int32_t m_textureWidth = 0;
    int32_t m_textureHeight = 0;
    Route m_route = Route::Nothing;
    int32_t m_textureCreations = 0;
    InjectedFaults m_faults;
    std::vector<uint32_t> m_rgb;
};

}  // namespace vornel
