// Reading the window icon with libpng's simplified interface.
#include "backends/sdl/WindowIcon.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace vornel {
namespace {

// In the build tree the icons lie in the program folder itself.
const char* const kBuiltIcon = "icons/vornel-64.png";

// The installed game's folder and the icon theme lie apart; the build states the way from
// one to the other (the same at any install prefix).
#ifdef VORNEL_INSTALLED_ICON
const char* const kInstalledIcon = VORNEL_INSTALLED_ICON;
#else
const char* const kInstalledIcon = nullptr;
#endif

}  // namespace

WindowIcon::Surface WindowIcon::load(const std::string& programFolder) {
    for (const char* relative : {kBuiltIcon, kInstalledIcon}) {
        if (relative == nullptr) {
            continue;
        }
        Surface icon = readPng(programFolder + "/" + relative);
        if (icon != nullptr) {
            return icon;
        }
    }
    return nullptr;
}

WindowIcon::Surface WindowIcon::readPng(const std::string& path) {
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&description, path.c_str()) == 0) {
        return nullptr;  // freed by libpng on failure
    }
    description.format = PNG_FORMAT_RGBA;
    const int width = static_cast<int>(description.width);
    const int height = static_cast<int>(description.height);
    Surface surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32));
    if (surface == nullptr) {
        png_image_free(&description);
        return nullptr;
    }
    if (png_image_finish_read(&description, nullptr, surface->pixels, surface->pitch, nullptr) == 0) {
        return nullptr;
    }
    return surface;
}

}  // namespace vornel
