// What the game's screen and input read through while a demo runs: each value the game thread
// takes from outside passes the tape (recorded, or replaced by the recorded one), and each
// frame ends on it. The screen, its input queue and the game see the demo only through this.
#pragma once

#include <cstdint>

namespace vornel {

namespace demo {

// What each value is: the value the game thread read, by where it read it.
enum Kind : uint8_t {
    kTicks = 1,     // the device clock, milliseconds
    kNextKey = 2,   // the oldest queued key press, 0 for none
    kKeyHeld = 3,   // whether the key asked about is held, 0 or 1
    kStylusX = 4,   // the pen position, game pixels
    kStylusY = 5,
    kDragX = 6,     // the pen's drag not used yet, game pixels
    kDragY = 7,
    kTakeDragY = 8, // the vertical drag, used up by the read
    kPaused = 9,    // whether the window is in the background, 0 or 1
    kOpen = 10,     // whether the window is still open, 0 or 1
    kWantedSize = 11,  // the size the window asks for, height << 16 | width (0: none yet)
};

}  // namespace demo

class InputTape {
public:
    // The value the game reads, given the live one.
    virtual int32_t pass(uint8_t kind, int32_t live) = 0;
    // The game's frame ends with the hash of its pixels; false once a playback has ended.
    virtual bool endFrame(uint32_t frameHash) = 0;
    // Whether the frame's hash covers every pixel of the frame, as in the demos of the first
    // formats, rather than the rectangles painted in it (core/FrameHash.h).
    virtual bool hashesWholeFrames() const { return false; }

protected:
    ~InputTape() = default;
};

}  // namespace vornel
