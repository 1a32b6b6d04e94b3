// What a screen needs from the window that shows it: presenting repainted rectangles and
// handing sounds to the sound player and stopping them.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/String.h"

namespace vornel {

class ScreenHost : public Object {
public:
    // Shows the rectangle (pixels, right and bottom exclusive) of the screen's buffer on the
    // display and returns once it has been shown, so the caller may draw over it again.
    virtual void presentRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    // Hands the sound of that name to the sound player; loop is its repeat argument.
    virtual void playSound(const String& name, int32_t loop) = 0;
    // Stops the sound playing at once, if any.
    virtual void stopSound() {}
    // Bracket every change of the screen's buffer (drawing into it, replacing it), so that a
    // display that reads the buffer on another thread can keep out of the way. A paint that
    // arrives after presentRect stopped waiting must not read half-drawn pixels.
    virtual void beginDrawing() {}
    virtual void endDrawing() {}
    // Whether the window is still there to draw into; once it has closed, the game's loops
    // end so that the process can exit.
    virtual bool isOpen() { return true; }
    // Closes the window as the player would close it; the process then ends normally.
    virtual void closeWindow() {}

protected:
    ~ScreenHost() override = default;
};

}  // namespace vornel
