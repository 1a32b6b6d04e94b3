// The match after each frame, for the session's index of games.
#include "shell/MatchWatch.h"

namespace vornel {

bool MatchWatch::endFrame(uint32_t frameHash) {
    const bool goesOn = m_session.tape().endFrame(frameHash);
    m_session.noteMatch(momentOf(m_game));
    return goesOn;
}

MatchMoment MatchWatch::momentOf(const GameScene& game) {
    MatchMoment moment;
    moment.hard = game.m_hardLevel != 0;
    moment.playerPoints = game.m_playerPoints;
    moment.opponentPoints = game.m_opponentPoints;
    if (game.m_matchState == GameScene::kServePending) {
        moment.phase = MatchMoment::Phase::kServeWaiting;
    } else if (game.m_matchState == GameScene::kPointOver) {
        moment.phase = MatchMoment::Phase::kPointOver;
    } else {
        moment.phase = MatchMoment::Phase::kRally;
    }
    return moment;
}

}  // namespace vornel
