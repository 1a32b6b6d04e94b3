// The desktop's devices: headless for tests and timedemos, else an SDL window.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/DeviceMaker.h"
#include "platform/headless/HeadlessDevice.h"
#include "platform/headless/StopSignals.h"
#include "platform/sdl/SdlDevice.h"

namespace vornel {
namespace {

// A device on virtual time hears of SIGINT and SIGTERM through its message queue, as a window
// closed by hand; SDL's own handlers would only be seen at the window's next look at its events.
void closeOnStopSignal(EmulatedDevice& device) {
    StopSignals::install([&device] { device.postMessage(messageOf(MessageType::Destroy)); });
}

}  // namespace

EmulatedDevice* DeviceMaker::make(const LaunchOptions& options, const DeviceProfile& profile,
                                  EmulatedDevice::Setup setup, WavRecorder* recorder) {
    if (options.headless) {
        auto* device = new HeadlessDevice(profile, std::move(setup), recorder);
        closeOnStopSignal(*device);
        return device;
    }
    std::string error;
    std::unique_ptr<SdlDevice> device =
        SdlDevice::create(profile, std::move(setup), {options.zoom, options.fullscreen}, recorder, error);
    if (!device) {
        std::fprintf(stderr, "vornel: %s\n", error.c_str());
    } else if (device->hasVirtualTime()) {
        closeOnStopSignal(*device);
    }
    return device.release();
}

}  // namespace vornel
