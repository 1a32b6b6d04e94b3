// The window's paint: the game's finished pixels go straight into display memory when they
// may, otherwise through the window's device context.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "sprites/Screen.h"

namespace vornel {

class PaintHandler final {
public:
    // Paints after a size change that must go through the device context.
    static constexpr int32_t kPaintsAfterSizeChange = 3;

    // Handles the window's paint message and clears the paint-pending flag on every way out.
    static void paint();

private:
    static bool mayUseDisplayMemory();
    static void paintIntoDisplayMemory(Screen& game, const Rect& paint);
    static void paintThroughDeviceContext(Screen& game);
    // Whether the game's buffer holds its width × height pixels.
    static bool hasWholeBuffer(const Screen& game);
};

}  // namespace vornel
