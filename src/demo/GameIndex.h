// Finds the games of a session in the match as it stands after each frame, as the recording
// indexes them. A game begins with the ball waiting for a serve and counts once it is played
// (a rally, or a score other than its first). It ends when the score goes back to 0:0: played
// to its end when a point was over (the game's last point, then its fortune), left at its
// score when the ball waits for a serve at once (a new game was chosen). A game still going
// when the session ends was left at its score too.
#pragma once

#include <cstdint>
#include <optional>

#include "demo/DemoGame.h"
#include "demo/MatchMoment.h"

namespace vornel {

class GameIndex final {
public:
    // The match after the frame; answers the entry to write when the game being played
    // began to count, changed its score or level, or ended with this frame.
    std::optional<DemoGame> observe(uint32_t frame, const MatchMoment& moment);
    // The session ends after that frame: the game being played, if any, with its last frame.
    std::optional<DemoGame> sessionEnds(uint32_t lastFrame);
    // Games counted so far.
    uint32_t games() const { return m_games; }

private:
    void begin(uint32_t frame, const MatchMoment& moment);

    std::optional<DemoGame> m_current;  // a game that began, played or not yet
    bool m_played = false;
    MatchMoment m_last;
    bool m_seen = false;
    uint32_t m_games = 0;
};

}  // namespace vornel
