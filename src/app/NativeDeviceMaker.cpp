// The desktop's devices: headless for tests and timedemos, else an SDL window.
#include <cstdio>
#include <memory>
#include <string>

#include "app/DeviceMaker.h"
#include "harness/SdlScriptInput.h"
#include "backends/headless/HeadlessDevice.h"
#include "backends/headless/StopSignals.h"
#include "backends/sdl/SdlDevice.h"

namespace vornel {
namespace {

// A device on virtual time hears of SIGINT and SIGTERM through its message queue, as a window
// closed by hand; SDL's own handlers would only be seen at the window's next look at its events.
void closeOnStopSignal(EmulatedDevice& device) {
    StopSignals::install([&device] { device.postMessage(messageOf(MessageType::Destroy)); });
}

}  // namespace

EmulatedDevice* DeviceMaker::make(const LaunchOptions& options, const DeviceProfile& profile,
                                  EmulatedDevice::Setup setup, AudioTap* recorder, const DemoSession*) {
    if (options.headless) {
        auto* device = new HeadlessDevice(profile, std::move(setup), recorder);
        closeOnStopSignal(*device);
        return device;
    }
    std::string error;
    const SdlDevice::View view{options.zoom, options.fullscreen, options.realTime};
    std::unique_ptr<SdlDevice> device = SdlDevice::create(profile, std::move(setup), view, recorder, error);
    if (!device) {
        std::fprintf(stderr, "vornel: %s\n", error.c_str());
    } else if (device->hasVirtualTime()) {
        closeOnStopSignal(*device);
    }
    return device.release();
}

// An SDL window takes a script's input as the events a person's input gives.
std::unique_ptr<ScriptInputSink> DeviceMaker::scriptInputFor(EmulatedDevice& device) {
    if (auto* window = dynamic_cast<SdlDevice*>(&device)) {
        return std::make_unique<SdlScriptInput>(*window);
    }
    return nullptr;
}

}  // namespace vornel
