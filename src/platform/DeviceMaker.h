// Makes the emulated handheld on the backends this build has: on the desktop, headless or in
// an SDL window; in the browser, on the page's canvas.
#pragma once

#include "platform/DeviceProfile.h"
#include "platform/EmulatedDevice.h"
#include "platform/LaunchOptions.h"
#include "platform/WavRecorder.h"

namespace vornel {

class DeviceMaker final {
public:
    // The device the options ask for; null, with one line on stderr, when it cannot be made
    // (no display to open a window on). It lives until the process ends: the game thread is
    // never waited for. recorder may be null.
    static EmulatedDevice* make(const LaunchOptions& options, const DeviceProfile& profile,
                                EmulatedDevice::Setup setup, WavRecorder* recorder);
};

}  // namespace vornel
