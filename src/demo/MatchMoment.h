// The match as it stands at the end of a frame: what a recording needs to know to index the
// games of its session.
#pragma once

#include <cstdint>

namespace vornel {

struct MatchMoment {
    enum class Phase : uint8_t {
        kServeWaiting,  // the ball hangs at the server's end
        kRally,         // the ball is in play
        kPointOver,     // a point was won; the next serve (or the game's end) comes
    };

    bool hard = false;
    int32_t playerPoints = 0;
    int32_t opponentPoints = 0;
    Phase phase = Phase::kServeWaiting;
};

}  // namespace vornel
