// The tape the game reads through while a session is recorded: the session's own, and after
// each frame the match as it then stands goes to the session, which indexes its games. Read
// on the game thread, at the end of the frame, so the game's fields are its own to read.
#pragma once

#include "demo/InputTape.h"
#include "demo/SessionTape.h"
#include "game/GameScene.h"

namespace vornel {

class MatchWatch final : public InputTape {
public:
    // Both must outlive the watch.
    MatchWatch(SessionTape& session, const GameScene& game) : m_session(session), m_game(game) {}

    int32_t pass(uint8_t kind, int32_t live) override { return m_session.tape().pass(kind, live); }
    bool endFrame(uint32_t frameHash) override;
    bool hashesWholeFrames() const override { return m_session.tape().hashesWholeFrames(); }

    static MatchMoment momentOf(const GameScene& game);

private:
    SessionTape& m_session;
    const GameScene& m_game;
};

}  // namespace vornel
