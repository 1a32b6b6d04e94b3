// How big the SDL window shows the handheld: its zoom (window points per pixel of the
// handheld, a whole number), full screen, a size set by hand, the display it opens on, and a
// turned display that no longer fits. The picture's size (the display as it is turned now)
// comes from the device at each step. Window thread.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>

namespace vornel {

class WindowZoom final {
public:
    // The picture's width and height in pixels of the handheld.
    using PictureSize = std::function<SDL_Point()>;

    // zoom 0: the largest up to 4 that fits the display the window opens on.
    WindowZoom(int32_t zoom, bool fullscreen, PictureSize pictureSize);

    int32_t zoom() const { return m_zoom; }
    bool isFullscreen() const { return m_fullscreen; }

    // The window opens where the player is looking, on the display under the mouse pointer,
    // at this size in points and with these flags of SDL_CreateWindow's.
    static int32_t displayUnderPointer();
    SDL_Point openingSize() const;
    uint32_t openingFlags() const;
    // The window has been made: without a zoom given it takes the largest that fits its
    // display, centred there again, else its zoom's size.
    void windowOpened(SDL_Window* window);

    // Each of these sizes the window anew; the caller shows the picture again.
    void setZoom(int32_t zoom);
    // From a window resized by hand, zooming out first takes it to the factor it shows.
    void zoomOut();
    void setFullscreen(bool fullscreen);
    // A window resized by hand shows the largest whole factor that fits; the zoom keys go on
    // from that factor.
    void windowResized();
    // A window turned on its side may no longer fit its display at its zoom; it shrinks then.
    void displayTurned();

private:
    void fitZoomToDisplay();
    // A window may be made larger by hand, never smaller than the picture at zoom 1.
    void sizeWindowToZoom();
    int32_t displayOfWindow() const;
    int32_t wholeZoomShown() const;

    int32_t m_zoom;
    bool m_fullscreen;
    const PictureSize m_pictureSize;
    SDL_Window* m_window = nullptr;
};

}  // namespace vornel
