// What the shell sees of the demo a run records or plays back: the tape the game reads
// through, and the moments of the game's thread and window the demo must hear of.
#pragma once

#include "demo/InputTape.h"

namespace vornel {

class SessionTape {
public:
    virtual InputTape& tape() = 0;
    // Playing back (the demo brings its own keys and closes the window at the game's end).
    virtual bool isPlaying() const = 0;
    // The calling thread's tick reads go through the tape from now on (and no other's).
    virtual void tapeThisThread() = 0;
    // On the game thread, first thing: it becomes the taped thread.
    virtual void gameStarts() = 0;
    // On the game thread, when its run has returned.
    virtual void gameEnded() = 0;
    // The game itself closes the window (its last frames are still to come).
    virtual void gameClosesWindow() = 0;
    // The window is going away.
    virtual void windowCloses() = 0;

protected:
    ~SessionTape() = default;
};

}  // namespace vornel
