// Blits of the game's own pictures into a 240 x 320 surface, beside pixman's composite and
// SDL's surface blits of the same picture at the same place and size.
#include "BenchmarkSets.h"
#include "GameAssets.h"
#include "PeerPicture.h"
#include "TargetSurface.h"

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;

constexpr uint32_t kBackground = 0x00406080;        // depth 0: hides nothing
constexpr uint32_t kNearerBackground = 0x0A406080;  // depth 10: nearer than any blit below
constexpr int32_t kDrawingDepth = 50;
constexpr Fixed kThreeQuarterSize = 0xAAAA;  // inverse scale: 4/3 of a picture pixel a step
constexpr Fixed kOneAndAHalfSize = 0x5555;   // 2/3 of a picture pixel a step
constexpr Fixed kHalfOpacity = 0x4000;

struct BlitCase {
    int32_t picture;
    int32_t x;  // surface pixel of the picture's top-left corner
    int32_t y;
    Fixed inverseScale = kFixedOne;
    Fixed opacity = kFixedOne;
    bool upperHalfHidden = false;  // the surface is nearer than the picture over its upper half
};

// Surface pixels the picture covers along one side, as the blit's own sampling counts them.
int32_t drawnSize(int32_t pictureSize, Fixed inverseScale) {
    return static_cast<int32_t>(((static_cast<int64_t>(pictureSize) << kFixedShift) + inverseScale - 1) / inverseScale);
}

bool isCopy(const BlitCase& blit, const Picture& picture) {
    return picture.m_opaque != 0 && blit.inverseScale == kFixedOne && blit.opacity == kFixedOne;
}

// The picture and a surface prepared for the case; answers false after telling the state why.
bool prepare(benchmark::State& state, const BlitCase& blit, Ref<Picture>& picture, TargetSurface& surface) {
    picture = GameAssets::instance().picture(blit.picture);
    if (!picture->hasPixels() || !surface.isReady()) {
        state.SkipWithError("the picture or the surface could not be made");
        return false;
    }
    surface.fill(kBackground);
    if (blit.upperHalfHidden) {
        surface.fillGameRows(blit.y, blit.y + drawnSize(picture->m_height, blit.inverseScale) / 2, kNearerBackground);
    }
    return true;
}

void timeGame(benchmark::State& state, const BlitCase& blit) {
    Ref<Picture> picture;
    TargetSurface& surface = TargetSurface::shared();
    if (!prepare(state, blit, picture, surface)) {
        return;
    }
    const int32_t width = surface.width();
    const int32_t height = surface.height();
    for (auto _ : state) {
        benchmark::DoNotOptimize(picture->blit(surface.game(), width, height, 0, 0, width, height, toFixed(blit.x),
                                               toFixed(blit.y), blit.inverseScale, kDrawingDepth, blit.opacity));
    }
}

// A nearest-neighbour transform with the blit's own step through the picture (pixman's
// fixed point has one more fraction bit than the game's).
void setPixmanScale(pixman_image_t* image, Fixed inverseScale) {
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, inverseScale << 1, inverseScale << 1);
    pixman_image_set_transform(image, &transform);
    pixman_image_set_filter(image, PIXMAN_FILTER_NEAREST, nullptr, 0);
}

void timePixman(benchmark::State& state, const BlitCase& blit) {
    Ref<Picture> picture;
    TargetSurface& surface = TargetSurface::shared();
    if (!prepare(state, blit, picture, surface)) {
        return;
    }
    PeerPicture peer(*picture);
    if (!peer.isReady()) {
        state.SkipWithError("pixman or SDL refused the picture");
        return;
    }
    if (blit.inverseScale != kFixedOne) {
        setPixmanScale(peer.pixman(), blit.inverseScale);
    }
    const pixman_color_t halfAlpha{0, 0, 0, 0x8080};
    pixman_image_t* mask = blit.opacity != kFixedOne ? pixman_image_create_solid_fill(&halfAlpha) : nullptr;
    const pixman_op_t op = isCopy(blit, *picture) ? PIXMAN_OP_SRC : PIXMAN_OP_OVER;
    const int32_t width = drawnSize(picture->m_width, blit.inverseScale);
    const int32_t height = drawnSize(picture->m_height, blit.inverseScale);
    for (auto _ : state) {
        pixman_image_composite32(op, peer.pixman(), mask, surface.pixman(), 0, 0, 0, 0, blit.x, blit.y, width, height);
    }
    if (mask != nullptr) {
        pixman_image_unref(mask);
    }
}

void timeSdl(benchmark::State& state, const BlitCase& blit) {
    Ref<Picture> picture;
    TargetSurface& surface = TargetSurface::shared();
    if (!prepare(state, blit, picture, surface)) {
        return;
    }
    PeerPicture peer(*picture);
    if (!peer.isReady()) {
        state.SkipWithError("pixman or SDL refused the picture");
        return;
    }
    // An opaque picture is drawn by copying: in the surface's own format SDL copies rows too.
    SDL_Surface* source = isCopy(blit, *picture) ? SDL_ConvertSurfaceFormat(peer.sdl(), SDL_PIXELFORMAT_RGB888, 0)
                                                 : peer.sdl();
    if (source == nullptr) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_SetSurfaceBlendMode(source, isCopy(blit, *picture) ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(source, blit.opacity != kFixedOne ? 128 : 255);
    const bool scaled = blit.inverseScale != kFixedOne;
    const SDL_Rect place{blit.x, blit.y, drawnSize(picture->m_width, blit.inverseScale),
                         drawnSize(picture->m_height, blit.inverseScale)};
    for (auto _ : state) {
        SDL_Rect target = place;  // the blit writes the clipped rectangle back
        benchmark::DoNotOptimize(scaled ? SDL_BlitScaled(source, nullptr, surface.sdl(), &target)
                                        : SDL_BlitSurface(source, nullptr, surface.sdl(), &target));
    }
    if (source != peer.sdl()) {
        SDL_FreeSurface(source);
    }
}

void addBlitCase(BenchCatalogue& catalogue, const char* id, const char* label, const BlitCase& blit) {
    catalogue.addCase(id, label);
    catalogue.time(Runner::Vornel, [blit](benchmark::State& state) { timeGame(state, blit); });
    if (blit.upperHalfHidden) {
        const char* reason = "keep no depth keys, so cannot hide pixels behind nearer ones";
        catalogue.notComparable(Runner::Pixman, reason);
        catalogue.notComparable(Runner::Sdl, reason);
        return;
    }
    catalogue.time(Runner::Pixman, [blit](benchmark::State& state) { timePixman(state, blit); });
    catalogue.time(Runner::Sdl, [blit](benchmark::State& state) { timeSdl(state, blit); });
}

}  // namespace

void BenchmarkSets::addBlits(BenchCatalogue& catalogue) {
    // The table is four times the surface; placed so that it covers all of it.
    addBlitCase(catalogue, "blit_copy", "blit copy: table 480x512 opaque, 1:1",
                BlitCase{GameAssets::kTablePicture, -120, 0});
    addBlitCase(catalogue, "blit_bat", "blit bat 38x50, 1:1", BlitCase{GameAssets::kStraightBatPicture, 100, 130});
    addBlitCase(catalogue, "blit_net", "blit net 232x30, 1:1", BlitCase{GameAssets::kNetPicture, 4, 150});
    addBlitCase(catalogue, "blit_down", "blit bat scaled 0.75",
                BlitCase{GameAssets::kStraightBatPicture, 100, 130, kThreeQuarterSize});
    addBlitCase(catalogue, "blit_up", "blit bat scaled 1.5",
                BlitCase{GameAssets::kStraightBatPicture, 100, 130, kOneAndAHalfSize});
    addBlitCase(catalogue, "blit_half", "blit bat at half opacity",
                BlitCase{GameAssets::kStraightBatPicture, 100, 130, kFixedOne, kHalfOpacity});
    addBlitCase(catalogue, "blit_hidden", "blit bat, upper half depth-hidden",
                BlitCase{GameAssets::kStraightBatPicture, 100, 130, kFixedOne, kFixedOne, true});
}

}  // namespace vornel::bench
