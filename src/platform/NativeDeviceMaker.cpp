// The desktop's devices: headless for tests and timedemos, else an SDL window.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/DeviceMaker.h"
#include "platform/headless/HeadlessDevice.h"
#include "platform/headless/StopSignals.h"
#include "platform/sdl/SdlDevice.h"

namespace vornel {

EmulatedDevice* DeviceMaker::make(const LaunchOptions& options, const DeviceProfile& profile,
                                  EmulatedDevice::Setup setup, WavRecorder* recorder) {
    if (options.headless) {
        StopSignals::install();
        return new HeadlessDevice(profile, std::move(setup), recorder);
    }
    std::string error;
    std::unique_ptr<SdlDevice> device =
        SdlDevice::create(profile, std::move(setup), {options.zoom, options.fullscreen}, recorder, error);
    if (!device) {
        std::fprintf(stderr, "vornel: %s\n", error.c_str());
    }
    return device.release();
}

}  // namespace vornel
