// Repaints of the play scene on a 240 x 320 screen: the whole screen, a play frame in which
// the ball, its shadow and both bats moved a few pixels, and that play frame presented in
// the shell's double-size mode. The scene is the game's sprite tree: no peer has one.
#include "BenchmarkSets.h"
#include "DoubleSizePresenter.h"
#include "PlayScene.h"
#include "TargetSurface.h"

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;

// Sideways steps between frames, world units (Fixed): a few pixels on the screen.
constexpr Fixed kBallStep = 0xC000;  // 1.5
constexpr Fixed kBatStep = kFixedOne;

void timeFullFrame(benchmark::State& state) {
    PlayScene scene(TargetSurface::kWidth, TargetSurface::kHeight);
    if (!scene.isReady()) {
        state.SkipWithError("the scene could not be built");
        return;
    }
    Screen& screen = scene.screen();
    for (auto _ : state) {
        screen.invalidate(0, 0, screen.m_width, screen.m_height);
        screen.render();
    }
}

// Back and forth, so that every frame moves the sprites by the same amount.
void runPlayFrames(benchmark::State& state, PlayScene& scene) {
    Fixed direction = 1;
    for (auto _ : state) {
        scene.nudge(direction * kBallStep, direction * kBatStep);
        scene.screen().render();
        direction = -direction;
    }
}

void timePlayFrame(benchmark::State& state) {
    PlayScene scene(TargetSurface::kWidth, TargetSurface::kHeight);
    if (!scene.isReady()) {
        state.SkipWithError("the scene could not be built");
        return;
    }
    runPlayFrames(state, scene);
}

void timeDoubleSizePlayFrame(benchmark::State& state) {
    PlayScene scene(TargetSurface::kWidth, TargetSurface::kHeight);
    if (!scene.isReady()) {
        state.SkipWithError("the scene could not be built");
        return;
    }
    Ref<DoubleSizePresenter> presenter = new DoubleSizePresenter();
    presenter->setScreen(&scene.screen());
    scene.screen().setHost(presenter);
    runPlayFrames(state, scene);
    scene.screen().setHost(nullptr);
}

}  // namespace

void BenchmarkSets::addFrames(BenchCatalogue& catalogue) {
    const char* scene = "have no sprite tree to render";
    catalogue.addCase("render_full_frame", "render: full frame of the play scene");
    catalogue.time(Runner::Vornel, timeFullFrame);
    catalogue.notComparable(Runner::Pixman, scene);
    catalogue.notComparable(Runner::Sdl, scene);

    catalogue.addCase("render_play_frame", "render: play frame (ball, shadow, bats)");
    catalogue.time(Runner::Vornel, timePlayFrame);
    catalogue.notComparable(Runner::Pixman, scene);
    catalogue.notComparable(Runner::Sdl, scene);

    // render has no double-size mode: the game still draws 240 x 320 and the shell's paint
    // doubles it onto the 480 x 640 window. This times the render and that paint together.
    catalogue.addCase("play_frame_double", "play frame + double-size paint 480x640");
    catalogue.time(Runner::Vornel, timeDoubleSizePlayFrame);
    catalogue.notComparable(Runner::Pixman, scene);
    catalogue.notComparable(Runner::Sdl, scene);
}

}  // namespace vornel::bench
