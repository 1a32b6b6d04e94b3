// Makes the emulated handheld on the backends this build has: on the desktop, headless or in
// an SDL window; in the browser, on the page's canvas.
#pragma once

#include <memory>

#include "app/LaunchOptions.h"
#include "demo/DemoSession.h"
#include "device/AudioTap.h"
#include "device/DeviceProfile.h"
#include "device/EmulatedDevice.h"
#include "harness/ScriptInputSink.h"

namespace vornel {

class DeviceMaker final {
public:
    // The device the options ask for; null, with one line on stderr, when it cannot be made
    // (no display to open a window on). It lives until the process ends: the game thread is
    // never waited for. recorder and demo may be null; the demo outlives the device.
    static EmulatedDevice* make(const LaunchOptions& options, const DeviceProfile& profile,
                                EmulatedDevice::Setup setup, AudioTap* recorder, const DemoSession* demo);
    // How an input script's input reaches the device: null when the device takes it as it is
    // (posted as the window's messages).
    static std::unique_ptr<ScriptInputSink> scriptInputFor(EmulatedDevice& device);
};

}  // namespace vornel
