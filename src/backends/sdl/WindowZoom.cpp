// The SDL window's zoom and full screen.
#include "backends/sdl/WindowZoom.h"

#include <algorithm>
#include <utility>

#include "backends/sdl/ScreenPlacement.h"
#include "device/EmulatedDevice.h"

namespace vornel {
namespace {

// Room left for the window's title bar when the zoom is chosen, in pixels.
constexpr int kTitleBarAllowance = 40;

// The largest zoom up to the given one at which a picture of that size fits the display's
// room for windows (in points, as window sizes are).
int32_t zoomThatFits(SDL_Point picture, int32_t largest, int32_t displayIndex) {
    SDL_Rect room;
    if (SDL_GetDisplayUsableBounds(displayIndex, &room) != 0) {
        return largest;
    }
    return ScreenPlacement::fit(picture.x, picture.y, room.w, room.h - kTitleBarAllowance, largest).scale;
}

}  // namespace

WindowZoom::WindowZoom(int32_t zoom, bool fullscreen, PictureSize pictureSize)
    : m_zoom(zoom > 0 ? std::clamp(zoom, 1, EmulatedDevice::kLargestZoom) : 0),
      m_fullscreen(fullscreen),
      m_pictureSize(std::move(pictureSize)) {}

int32_t WindowZoom::displayUnderPointer() {
    SDL_Point pointer{0, 0};
    SDL_GetGlobalMouseState(&pointer.x, &pointer.y);
    return std::max(SDL_GetPointDisplayIndex(&pointer), 0);
}

SDL_Point WindowZoom::openingSize() const {
    const SDL_Point picture = m_pictureSize();
    const int32_t zoom = std::max(m_zoom, 1);
    return {picture.x * zoom, picture.y * zoom};
}

uint32_t WindowZoom::openingFlags() const {
    return m_fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
}

void WindowZoom::windowOpened(SDL_Window* window) {
    m_window = window;
    if (m_zoom == 0) {
        fitZoomToDisplay();
    } else {
        sizeWindowToZoom();
    }
}

void WindowZoom::fitZoomToDisplay() {
    m_zoom = zoomThatFits(m_pictureSize(), ScreenPlacement::kLargestDefaultZoom, displayOfWindow());
    sizeWindowToZoom();
    if (!m_fullscreen) {
        const int32_t centre = SDL_WINDOWPOS_CENTERED_DISPLAY(displayOfWindow());
        SDL_SetWindowPosition(m_window, centre, centre);
    }
}

void WindowZoom::setZoom(int32_t zoom) {
    m_zoom = std::clamp(zoom, 1, EmulatedDevice::kLargestZoom);
    sizeWindowToZoom();
}

void WindowZoom::zoomOut() {
    SDL_Point size{0, 0};
    SDL_GetWindowSize(m_window, &size.x, &size.y);
    const SDL_Point picture = m_pictureSize();
    const bool exact = size.x == picture.x * m_zoom && size.y == picture.y * m_zoom;
    setZoom(exact || m_fullscreen ? m_zoom - 1 : m_zoom);
}

void WindowZoom::setFullscreen(bool fullscreen) {
    m_fullscreen = fullscreen;
    SDL_SetWindowFullscreen(m_window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    sizeWindowToZoom();
}

void WindowZoom::windowResized() {
    if ((SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN) == 0) {
        m_zoom = wholeZoomShown();
    }
}

void WindowZoom::displayTurned() {
    m_zoom = zoomThatFits(m_pictureSize(), m_zoom, displayOfWindow());
    sizeWindowToZoom();
}

void WindowZoom::sizeWindowToZoom() {
    const SDL_Point picture = m_pictureSize();
    SDL_SetWindowMinimumSize(m_window, picture.x, picture.y);
    if (!m_fullscreen) {
        SDL_SetWindowSize(m_window, picture.x * m_zoom, picture.y * m_zoom);
    }
}

int32_t WindowZoom::displayOfWindow() const {
    return std::max(SDL_GetWindowDisplayIndex(m_window), 0);
}

// The whole factor at which the picture fits the window's points.
int32_t WindowZoom::wholeZoomShown() const {
    SDL_Point size{0, 0};
    SDL_GetWindowSize(m_window, &size.x, &size.y);
    const SDL_Point picture = m_pictureSize();
    return ScreenPlacement::fit(picture.x, picture.y, size.x, size.y, EmulatedDevice::kLargestZoom).scale;
}

}  // namespace vornel
