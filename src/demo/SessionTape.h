// What the shell sees of the demo a run records or plays back: the tape the game reads
// through, and the moments of the game's thread and window the demo must hear of.
#pragma once

#include <functional>

#include "demo/InputTape.h"
#include "demo/MatchMoment.h"

namespace vornel {

class SessionTape {
public:
    virtual InputTape& tape() = 0;
    // Playing back (the demo brings its own keys and closes the window at the game's end).
    virtual bool isPlaying() const = 0;
    // Playing back flat out: the device's time stands still while the game runs through the
    // recorded times, so a wave output would never finish a buffer (and every fifth sound would
    // find the device stalled, reset it and load its clips again); such a run plays no sound.
    virtual bool runsFlatOut() const = 0;
    // The calling thread's tick reads go through the tape from now on (and no other's).
    virtual void tapeThisThread() = 0;
    // On the game thread, first thing: it becomes the taped thread.
    virtual void gameStarts() = 0;
    // On the game thread, when its run has returned.
    virtual void gameEnded() = 0;
    // On the game thread, after each frame has ended on the tape: the match as it stands.
    virtual void noteMatch(const MatchMoment& moment) = 0;
    // The game itself closes the window (its last frames are still to come).
    virtual void gameClosesWindow() = 0;
    // The window is going away.
    virtual void windowCloses() = 0;
    // Playing back: the shell's way to start the game afresh, run on the window thread (the
    // replay viewer seeks by playing from the start); an empty function takes it back.
    virtual void offerRestart(std::function<void()> restart) = 0;
    // During such a restart, once the game's thread has ended and before the next one starts:
    // the playback goes back to the recording's start.
    virtual void rewind() = 0;

protected:
    ~SessionTape() = default;
};

}  // namespace vornel
