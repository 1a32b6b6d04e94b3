// Whoever the one window's messages go to: the platform calls it with every message it
// dispatches, and with Create and Size at once, as the handheld called a window procedure.
// The client carries its own state, so nothing about the window has to live in globals.
#pragma once

#include <cstdint>

#include "platform/WindowMessage.h"

namespace vornel {

class WindowClient {
public:
    // Handles a message on the window's thread; answers the message's result.
    virtual int32_t windowMessage(const WindowMessage& message) = 0;

protected:
    ~WindowClient() = default;
};

}  // namespace vornel
