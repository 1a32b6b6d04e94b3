// Where an input script's input goes on its way into the device. Without one the script's
// runner hands its input to the device, which posts it as the window's messages; a window of
// its own takes it through its windowing system's events instead (SdlScriptInput).
#pragma once

#include "device/DeviceInput.h"

namespace vornel {

class ScriptInputSink {
public:
    virtual ~ScriptInputSink() = default;

    // From the script's thread.
    virtual void deliver(const DeviceInput& input) = 0;
};

}  // namespace vornel
