// One game of a recorded session, as the demo file indexes it: where it lies among the
// session's frames, its level and its score, and whether it was played to its end (else it
// was left at that score: a new game was started, or the session ended).
#pragma once

#include <cstdint>

namespace vornel {

struct DemoGame {
    uint32_t number = 0;      // in the session, from 1
    uint32_t firstFrame = 0;  // frames count from 0
    uint32_t lastFrame = 0;
    bool hard = false;
    uint8_t playerPoints = 0;
    uint8_t opponentPoints = 0;
    bool finished = false;

    friend bool operator==(const DemoGame&, const DemoGame&) = default;
};

}  // namespace vornel
