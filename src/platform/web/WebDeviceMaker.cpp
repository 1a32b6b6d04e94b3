// The browser's device: the page's canvas.
#include "platform/DeviceMaker.h"
#include "platform/web/WebDevice.h"

namespace vornel {

EmulatedDevice* DeviceMaker::make(const LaunchOptions&, const DeviceProfile& profile, EmulatedDevice::Setup setup,
                                  WavRecorder*) {
    return new WebDevice(profile, std::move(setup));
}

}  // namespace vornel
