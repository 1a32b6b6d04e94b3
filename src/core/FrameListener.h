// Hears from the game's frame clock that a frame has been drawn: every rectangle of it has been
// presented. A device that shows its display later than the paints (SDL's window, which presents
// at most every few milliseconds) shows the finished frame at once. Called on the game thread.
#pragma once

namespace vornel {

class FrameListener {
public:
    virtual void frameDrawn() = 0;

protected:
    ~FrameListener() = default;
};

}  // namespace vornel
