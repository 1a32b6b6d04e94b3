// The game's icon for the window's title bar and the task switcher: the PNG the build draws
// into the program folder's icons/, or, for the installed game, the one in the desktop's icon
// theme. A missing icon is no error: the window keeps the desktop's default one.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

namespace vornel {

class WindowIcon final {
public:
    // Pixels across; the desktop shrinks it where it shows less. The build draws this size
    // among others (VORNEL_ICON_SIZES).
    static constexpr int32_t kSize = 64;

    struct SurfaceDeleter {
        void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
    };
    using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

    // The icon of a game whose data lie in programFolder; null when none can be read.
    static Surface load(const std::string& programFolder);
    // One PNG file as a 32-bit surface with alpha; null when it is missing or no PNG.
    static Surface readPng(const std::string& path);
};

}  // namespace vornel
