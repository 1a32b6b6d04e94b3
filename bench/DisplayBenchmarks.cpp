// The copy of a finished 240 x 320 frame into the handheld's 16-bit 5-6-5 display memory,
// upright and with the display turned either way, beside pixman's conversion (with a rotating
// transform when turned) and SDL's converting blit.
#include <SDL.h>
#include <pixman.h>

#include <cstring>
#include <vector>

#include "BenchmarkSets.h"
#include "GameAssets.h"
#include "device/DeviceProfile.h"
#include "backends/headless/HeadlessDevice.h"
#include "shell/DisplayMemory.h"

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;

constexpr int32_t kDisplayWidth = 240;  // the physical display, upright
constexpr int32_t kDisplayHeight = 320;

// Where the copies learn the display's orientation: an emulated handheld that is never shown.
HeadlessDevice& turnedDevice(int32_t orientation) {
    static auto* const device = [] {
        const std::string& folder = GameAssets::instance().folder();
        return new HeadlessDevice(DeviceProfile::defaultProfile(), EmulatedDevice::Setup{folder, folder, 1});
    }();
    for (int turns = 0; turns < 3 && device->displayOrientation() != orientation; ++turns) {
        device->rotate();
    }
    return *device;
}

// A finished frame of the game's size and the display memory it goes into.
struct DisplayCopy {
    int32_t width;   // surface (game) pixels
    int32_t height;
    std::vector<uint32_t> surface;
    std::vector<uint16_t> frame;

    DisplayCopy(int32_t surfaceWidth, int32_t surfaceHeight)
        : width(surfaceWidth),
          height(surfaceHeight),
          surface(static_cast<std::size_t>(surfaceWidth) * surfaceHeight),
          frame(static_cast<std::size_t>(kDisplayWidth) * kDisplayHeight) {
        for (std::size_t i = 0; i < surface.size(); ++i) {
            surface[i] = static_cast<uint32_t>(i * 2654435761u);  // every bit pattern, depth byte included
        }
    }
    bool upright() const { return width == kDisplayWidth; }
};

void timeGame(benchmark::State& state, int32_t orientation) {
    const bool upright = orientation == Platform::kOrientation0;
    DisplayCopy copy(upright ? kDisplayWidth : kDisplayHeight, upright ? kDisplayHeight : kDisplayWidth);
    HeadlessDevice& device = turnedDevice(orientation);
    const Rect whole{0, 0, copy.width, copy.height};
    for (auto _ : state) {
        DisplayMemory::copyToFrameBuffer(device, Surface32{copy.surface.data(), copy.width, copy.height},
                                         DisplayMemory::Frame{{copy.frame.data(), kDisplayWidth, kDisplayHeight},
                                                              kDisplayWidth, 1},
                                         whole, whole, copy.upright());
        benchmark::ClobberMemory();
    }
}

// The transform from a display pixel to the surface pixel the game's turned copy puts there.
void setTurn(pixman_image_t* source, int32_t orientation) {
    pixman_transform_t transform;
    const pixman_fixed_t one = pixman_fixed_1;
    if (orientation == Platform::kOrientation270) {
        // display (fx, fy) shows surface (fy, width - 1 - fx)
        pixman_transform_init_identity(&transform);
        transform.matrix[0][0] = 0;
        transform.matrix[0][1] = one;
        transform.matrix[1][0] = -one;
        transform.matrix[1][1] = 0;
        transform.matrix[1][2] = pixman_int_to_fixed(kDisplayWidth);
    } else {
        // display (fx, fy) shows surface (height - 1 - fy, fx)
        pixman_transform_init_identity(&transform);
        transform.matrix[0][0] = 0;
        transform.matrix[0][1] = -one;
        transform.matrix[0][2] = pixman_int_to_fixed(kDisplayHeight);
        transform.matrix[1][0] = one;
        transform.matrix[1][1] = 0;
    }
    pixman_image_set_transform(source, &transform);
    pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
}

void timePixman(benchmark::State& state, int32_t orientation) {
    const bool upright = orientation == Platform::kOrientation0;
    DisplayCopy copy(upright ? kDisplayWidth : kDisplayHeight, upright ? kDisplayHeight : kDisplayWidth);
    pixman_image_t* source = pixman_image_create_bits(PIXMAN_x8r8g8b8, copy.width, copy.height, copy.surface.data(),
                                                      copy.width * static_cast<int>(sizeof(uint32_t)));
    pixman_image_t* display = pixman_image_create_bits(PIXMAN_r5g6b5, kDisplayWidth, kDisplayHeight,
                                                       reinterpret_cast<uint32_t*>(copy.frame.data()),
                                                       kDisplayWidth * static_cast<int>(sizeof(uint16_t)));
    if (source == nullptr || display == nullptr) {
        state.SkipWithError("pixman refused the images");
    } else {
        if (!upright) {
            setTurn(source, orientation);
        }
        for (auto _ : state) {
            pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, display, 0, 0, 0, 0, 0, 0, kDisplayWidth,
                                     kDisplayHeight);
        }
    }
    if (source != nullptr) {
        pixman_image_unref(source);
    }
    if (display != nullptr) {
        pixman_image_unref(display);
    }
}

void timeSdlUpright(benchmark::State& state) {
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormat(0, kDisplayWidth, kDisplayHeight, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Surface* display = SDL_CreateRGBSurfaceWithFormat(0, kDisplayWidth, kDisplayHeight, 16, SDL_PIXELFORMAT_RGB565);
    if (source == nullptr || display == nullptr) {
        state.SkipWithError(SDL_GetError());
    } else {
        DisplayCopy copy(kDisplayWidth, kDisplayHeight);
        for (int32_t y = 0; y < kDisplayHeight; ++y) {
            std::memcpy(static_cast<uint8_t*>(source->pixels) + y * source->pitch, copy.surface.data() + y * kDisplayWidth,
                        kDisplayWidth * sizeof(uint32_t));
        }
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
        for (auto _ : state) {
            benchmark::DoNotOptimize(SDL_BlitSurface(source, nullptr, display, nullptr));
        }
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(display);
}

}  // namespace

void BenchmarkSets::addDisplay(BenchCatalogue& catalogue) {
    catalogue.addCase("display_upright", "copyToFrameBuffer upright, 565");
    catalogue.time(Runner::Vornel, [](benchmark::State& state) { timeGame(state, Platform::kOrientation0); });
    catalogue.time(Runner::Pixman, [](benchmark::State& state) { timePixman(state, Platform::kOrientation0); });
    catalogue.time(Runner::Sdl, timeSdlUpright);

    const char* noTurn = "surfaces cannot be blitted turned";
    catalogue.addCase("display_turned_90", "copyToFrameBuffer turned 90, 565");
    catalogue.time(Runner::Vornel, [](benchmark::State& state) { timeGame(state, Platform::kOrientation90); });
    catalogue.time(Runner::Pixman, [](benchmark::State& state) { timePixman(state, Platform::kOrientation90); });
    catalogue.notComparable(Runner::Sdl, noTurn);

    catalogue.addCase("display_turned_270", "copyToFrameBuffer turned 270, 565");
    catalogue.time(Runner::Vornel, [](benchmark::State& state) { timeGame(state, Platform::kOrientation270); });
    catalogue.time(Runner::Pixman, [](benchmark::State& state) { timePixman(state, Platform::kOrientation270); });
    catalogue.notComparable(Runner::Sdl, noTurn);
}

}  // namespace vornel::bench
