// Rectangle fills in each of the game's blending modes, the vertical gradient and a line of
// text, beside pixman's fills and gradient and SDL's fills on the same rectangle.
#include "BenchmarkSets.h"
#include "GameAssets.h"
#include "TargetSurface.h"
#include "sprites/Drawing.h"
#include "sprites/TextSprite.h"

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;

constexpr uint32_t kBackground = 0x00406080;
// A panel's rectangle, right and bottom exclusive: most of the screen, as the menus use.
constexpr SDL_Rect kPanel{20, 40, 200, 240};
constexpr uint32_t kGradientTop = 0xFF203080;
constexpr uint32_t kGradientBottom = 0xFF80C0F0;

uint32_t channel(uint32_t colour, int shift) { return colour >> shift & 0xFF; }

// 0xAARRGGBB as pixman's premultiplied 16-bit colour.
pixman_color_t pixmanColour(uint32_t colour) {
    const uint32_t alpha = colour >> 24;
    const auto scaled = [alpha](uint32_t value) { return static_cast<uint16_t>(value * alpha / 255 * 257); };
    return pixman_color_t{scaled(channel(colour, 16)), scaled(channel(colour, 8)), scaled(channel(colour, 0)),
                          static_cast<uint16_t>(alpha * 257)};
}

void timeGameFill(benchmark::State& state, uint32_t colour) {
    TargetSurface& surface = TargetSurface::shared();
    if (!surface.isReady()) {
        state.SkipWithError("no surface");
        return;
    }
    surface.fill(kBackground);
    for (auto _ : state) {
        Drawing::fillRect(surfaceOf(surface.game(), surface.width(), surface.height()),
                          {kPanel.x, kPanel.y, kPanel.x + kPanel.w, kPanel.y + kPanel.h}, colour);
        benchmark::ClobberMemory();
    }
}

void timePixmanFill(benchmark::State& state, uint32_t colour) {
    TargetSurface& surface = TargetSurface::shared();
    if (!surface.isReady()) {
        state.SkipWithError("no surface");
        return;
    }
    surface.fill(kBackground);
    const pixman_color_t fill = pixmanColour(colour);
    const pixman_op_t op = colour >> 24 == 0xFF ? PIXMAN_OP_SRC : PIXMAN_OP_OVER;
    const pixman_rectangle16_t rectangle{kPanel.x, kPanel.y, kPanel.w, kPanel.h};
    for (auto _ : state) {
        benchmark::DoNotOptimize(pixman_image_fill_rectangles(op, surface.pixman(), &fill, 1, &rectangle));
    }
}

// SDL_FillRect only writes; translucent fills go through the software renderer's blended fill.
void timeSdlFill(benchmark::State& state, uint32_t colour) {
    TargetSurface& surface = TargetSurface::shared();
    if (!surface.isReady()) {
        state.SkipWithError("no surface");
        return;
    }
    surface.fill(kBackground);
    const uint32_t alpha = colour >> 24;
    if (alpha == 0xFF) {
        const uint32_t mapped = SDL_MapRGB(surface.sdl()->format, channel(colour, 16), channel(colour, 8),
                                           channel(colour, 0));
        for (auto _ : state) {
            benchmark::DoNotOptimize(SDL_FillRect(surface.sdl(), &kPanel, mapped));
        }
        return;
    }
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface.sdl());
    if (renderer == nullptr) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, channel(colour, 16), channel(colour, 8), channel(colour, 0), alpha);
    for (auto _ : state) {
        SDL_RenderFillRect(renderer, &kPanel);
        SDL_RenderFlush(renderer);
    }
    SDL_DestroyRenderer(renderer);
}

void addFillCase(BenchCatalogue& catalogue, const char* id, const char* label, uint32_t colour) {
    catalogue.addCase(id, label);
    catalogue.time(Runner::Vornel, [colour](benchmark::State& state) { timeGameFill(state, colour); });
    catalogue.time(Runner::Pixman, [colour](benchmark::State& state) { timePixmanFill(state, colour); });
    catalogue.time(Runner::Sdl, [colour](benchmark::State& state) { timeSdlFill(state, colour); });
}

// The gradient as a sprite draws it: one opaque fill a row.
void timeGameGradient(benchmark::State& state) {
    TargetSurface& surface = TargetSurface::shared();
    Ref<Psprite> panel = new Psprite(kPanel.x, kPanel.y, kPanel.w, kPanel.h, kGradientTop);
    panel->setColor2(kGradientBottom);
    panel->layout(0, 0, kFixedOne);
    if (!surface.isReady()) {
        state.SkipWithError("no surface");
        return;
    }
    for (auto _ : state) {
        panel->draw(surface.game(), surface.width(), surface.height(), kPanel.x, kPanel.y, kPanel.x + kPanel.w,
                    kPanel.y + kPanel.h, kFixedOne);
        benchmark::ClobberMemory();
    }
}

void timePixmanGradient(benchmark::State& state) {
    TargetSurface& surface = TargetSurface::shared();
    const pixman_point_fixed_t top{pixman_int_to_fixed(0), pixman_int_to_fixed(kPanel.y)};
    const pixman_point_fixed_t bottom{pixman_int_to_fixed(0), pixman_int_to_fixed(kPanel.y + kPanel.h)};
    const pixman_gradient_stop_t stops[] = {{pixman_int_to_fixed(0), pixmanColour(kGradientTop)},
                                            {pixman_int_to_fixed(1), pixmanColour(kGradientBottom)}};
    pixman_image_t* gradient = pixman_image_create_linear_gradient(&top, &bottom, stops, 2);
    if (!surface.isReady() || gradient == nullptr) {
        state.SkipWithError("no surface or gradient");
        return;
    }
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, gradient, nullptr, surface.pixman(), kPanel.x, kPanel.y, 0, 0,
                                 kPanel.x, kPanel.y, kPanel.w, kPanel.h);
    }
    pixman_image_unref(gradient);
}

// SDL has no gradient: a fill a row, each row's colour mixed as the game mixes it.
void timeSdlGradient(benchmark::State& state) {
    TargetSurface& surface = TargetSurface::shared();
    if (!surface.isReady()) {
        state.SkipWithError("no surface");
        return;
    }
    for (auto _ : state) {
        for (int32_t row = 0; row < kPanel.h; ++row) {
            uint32_t mapped = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const auto from = static_cast<int32_t>(channel(kGradientTop, shift));
                const auto to = static_cast<int32_t>(channel(kGradientBottom, shift));
                mapped |= static_cast<uint32_t>(from + (to - from) * row / kPanel.h) << shift;
            }
            const SDL_Rect line{kPanel.x, kPanel.y + row, kPanel.w, 1};
            SDL_FillRect(surface.sdl(), &line, mapped);
        }
    }
}

// One line of the score overlay's kind of text, in the game's font, with its drop shadow.
void timeGameText(benchmark::State& state) {
    TargetSurface& surface = TargetSurface::shared();
    Ref<TextSprite> line = new TextSprite();
    line->setFontAndText(GameAssets::instance().font(), String::fromLiteral("Level: Hard   Player 10 : 7"));
    line->setPosition(8, 150);
    line->layout(0, 0, kFixedOne);
    if (!surface.isReady() || line->width() <= 1) {
        state.SkipWithError("no surface or no font");
        return;
    }
    surface.fill(kBackground);
    for (auto _ : state) {
        line->draw(surface.game(), surface.width(), surface.height(), line->m_left, line->m_top, line->m_right,
                   line->m_bottom, kFixedOne);
        benchmark::ClobberMemory();
    }
}

}  // namespace

void BenchmarkSets::addFills(BenchCatalogue& catalogue) {
    // The fifth mode, alpha 0, returns before touching a pixel: there is nothing to time.
    addFillCase(catalogue, "fill_opaque", "fillRect 200x240 opaque", 0xFF336699);
    addFillCase(catalogue, "fill_half", "fillRect 200x240 alpha 0x80 (halves)", 0x80404080);
    addFillCase(catalogue, "fill_three_quarter", "fillRect 200x240 alpha 0xC0 (quarters)", 0xC0204060);
    addFillCase(catalogue, "fill_mix", "fillRect 200x240 alpha 0x60 (mix)", 0x60FFCC00);

    catalogue.addCase("gradient", "gradient 200x240");
    catalogue.time(Runner::Vornel, timeGameGradient);
    catalogue.time(Runner::Pixman, timePixmanGradient);
    catalogue.time(Runner::Sdl, timeSdlGradient);

    catalogue.addCase("text", "text: one line of 27 characters");
    catalogue.time(Runner::Vornel, timeGameText);
    catalogue.notComparable(Runner::Pixman, "draws no text (glyphs need a font library)");
    catalogue.notComparable(Runner::Sdl, "draws no text (SDL_ttf is a separate library)");
}

}  // namespace vornel::bench
