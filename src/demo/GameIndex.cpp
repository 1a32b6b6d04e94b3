// Telling the games of a session apart.
#include "demo/GameIndex.h"

namespace vornel {
namespace {

bool isLove(const MatchMoment& moment) {
    return moment.playerPoints == 0 && moment.opponentPoints == 0;
}

uint8_t pointsOf(int32_t points) {
    return static_cast<uint8_t>(points < 0 ? 0 : points > 255 ? 255 : points);
}

}  // namespace

void GameIndex::begin(uint32_t frame, const MatchMoment& moment) {
    m_current = DemoGame{};
    m_current->firstFrame = frame;
    m_current->lastFrame = frame;
    m_current->hard = moment.hard;
    m_current->playerPoints = pointsOf(moment.playerPoints);
    m_current->opponentPoints = pointsOf(moment.opponentPoints);
    m_played = false;
}

std::optional<DemoGame> GameIndex::observe(uint32_t frame, const MatchMoment& moment) {
    const MatchMoment last = m_last;
    const bool seenBefore = m_seen;
    m_last = moment;
    m_seen = true;
    if (!m_current) {
        if (moment.phase == MatchMoment::Phase::kServeWaiting) {
            begin(frame, moment);
        }
        return std::nullopt;
    }
    if (seenBefore && !isLove(last) && isLove(moment)) {
        std::optional<DemoGame> ended;
        if (m_played) {
            ended = m_current;
            ended->lastFrame = frame == 0 ? 0 : frame - 1;
            ended->finished = moment.phase == MatchMoment::Phase::kPointOver;
        }
        m_current.reset();
        if (moment.phase == MatchMoment::Phase::kServeWaiting) {
            begin(frame, moment);
        }
        return ended;
    }
    DemoGame& game = *m_current;
    const bool scored = game.playerPoints != pointsOf(moment.playerPoints) ||
                        game.opponentPoints != pointsOf(moment.opponentPoints);
    const bool changed = scored || game.hard != moment.hard;
    game.lastFrame = frame;
    game.playerPoints = pointsOf(moment.playerPoints);
    game.opponentPoints = pointsOf(moment.opponentPoints);
    game.hard = moment.hard;
    const bool startsToCount = !m_played && (scored || moment.phase == MatchMoment::Phase::kRally);
    if (startsToCount) {
        m_played = true;
        game.number = ++m_games;
    }
    if (startsToCount || (m_played && changed)) {
        return game;
    }
    return std::nullopt;
}

std::optional<DemoGame> GameIndex::sessionEnds(uint32_t lastFrame) {
    if (!m_current || !m_played) {
        return std::nullopt;
    }
    DemoGame game = *m_current;
    game.lastFrame = lastFrame;
    m_current.reset();
    return game;
}

}  // namespace vornel
