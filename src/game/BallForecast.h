// The built-in player's look ahead: it follows the ball's flight under the game's gravity,
// drag and bounces, and keeps the stretch of the path where the player's bat may strike it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Fixed.h"

namespace vornel {

class GameScene;

class BallForecast final {
public:
    // A point of the path and how much game time (0x8000 = 1 s) the ball needs to get there.
    struct Sample {
        Fixed x;
        Fixed y;
        Fixed z;
        Fixed time;
    };

    static constexpr Fixed kSubStep = 512;        // 1/64 s of game time, the game's own step
    static constexpr int32_t kMostSteps = 640;    // 10 s of game time: every rally ends sooner
    static constexpr int32_t kMostSamples = 256;

    // Follows the scene's ball from where it is now. The samples are the points where the
    // rally rules let the player strike: after the ball coming from the opponent has bounced
    // on the player's side, and before it bounces again or leaves the bat's reach.
    void follow(const GameScene& scene);

    int32_t size() const { return m_size; }
    // Whether the ball is on its way to the player (struck or served by the opponent), whether
    // or not the bat can reach it anywhere.
    bool isComing() const { return m_coming; }
    const Sample& operator[](int32_t index) const { return m_samples[static_cast<std::size_t>(index)]; }

private:
    struct Flight {
        Fixed x, y, z;
        Fixed vx, vy, vz;
    };
    // What a bounce means for the player, as the rally rules see it.
    enum class Stage {
        ServeInFlight,  // the opponent's serve must first bounce on its own side
        Incoming,       // the next bounce must be on the player's side
        Strikable,      // it has bounced there: the player may strike until the next bounce
        Over,           // the point is decided, or the ball lies still
    };

    static Stage firstStage(const GameScene& scene);
    // One sub-step of the flight; answers the stage after it.
    static Stage advance(Flight& flight, Stage stage);
    static Stage afterBounce(Flight& flight, Stage stage, bool onTable, Fixed gravityStep);
    static void applyDrag(Flight& flight);
    static bool isOverTable(const Flight& flight);

    std::array<Sample, kMostSamples> m_samples{};
    int32_t m_size = 0;
    bool m_coming = false;
};

}  // namespace vornel
