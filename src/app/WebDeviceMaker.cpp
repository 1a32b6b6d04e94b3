// The browser's device: the page's canvas.
#include <emscripten.h>

#include "app/DeviceMaker.h"
#include "backends/web/WebDevice.h"

namespace vornel {
namespace {

// The run's demo, for the page's question below; set once, before the entry runs.
const DemoSession* g_demo = nullptr;

}  // namespace

EmulatedDevice* DeviceMaker::make(const LaunchOptions&, const DeviceProfile& profile, EmulatedDevice::Setup setup,
                                  AudioTap*, const DemoSession* demo) {
    g_demo = demo;
    return new WebDevice(profile, std::move(setup));
}

std::unique_ptr<ScriptInputSink> DeviceMaker::scriptInputFor(EmulatedDevice&) {
    return nullptr;
}

}  // namespace vornel

extern "C" {

// The frames a demo has played so far (0 without one): tests look at a playback frame by frame.
EMSCRIPTEN_KEEPALIVE int vornel_demo_frames() {
    return vornel::g_demo != nullptr ? static_cast<int>(vornel::g_demo->frames()) : 0;
}

}  // extern "C"
