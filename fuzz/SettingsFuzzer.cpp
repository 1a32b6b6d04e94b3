// Fuzz target of the settings file: the input is written as the file "vornel" of a save folder
// of its own, which a game scene loads; the scene then records a result in the high-score
// table and shows the table, left at once by a queued key.
#include <cstddef>
#include <cstdint>

#include "FuzzFolder.h"
#include "core/Clock.h"
#include "core/SaveFolder.h"
#include "core/RunContext.h"
#include "game/GameScene.h"
#include "sprites/GameKey.h"

namespace {

using namespace vornel;

// Device time that moves only when the scene sleeps, so the table's fades cost no real time.
class StepClock : public Clock {
public:
    uint32_t ticks() override { return m_now; }
    void sleep(uint32_t milliseconds) override { m_now += milliseconds; }

private:
    uint32_t m_now = 0;
};

// Small, so the few frames of the fades are cheap.
constexpr int32_t kScreenWidth = 64;
constexpr int32_t kScreenHeight = 48;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static fuzz::FuzzFolder folder("settings");
    folder.write("vornel", data, size);
    StepClock clock;
    const RunContext context("", folder.path().string(), &clock);

    Ref<GameScene> scene = new GameScene();
    scene->setSize(kScreenWidth, kScreenHeight);
    scene->loadSettings();
    scene->recordHighScore();
    scene->queueKey(GameKey::kConfirm);
    scene->showHighScores();
    scene->clear();
    return 0;
}
