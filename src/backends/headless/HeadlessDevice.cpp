// The headless backend.
#include "backends/headless/HeadlessDevice.h"

namespace vornel {
namespace {

EmulatedDevice::Setup withVirtualTime(EmulatedDevice::Setup setup) {
    setup.virtualTime = true;
    return setup;
}

}  // namespace

HeadlessDevice::HeadlessDevice(const DeviceProfile& profile, Setup setup, AudioTap* recorder)
    : EmulatedDevice(profile, withVirtualTime(std::move(setup))), m_waveOutput(deviceClock(), recorder) {}

HeadlessDevice::~HeadlessDevice() {
    stopThreads();
    m_waveOutput.close();
}

void HeadlessDevice::waitForInput() {
    queue().waitForItem();
}

bool HeadlessDevice::openWindow(const std::string&) {
    return true;
}

}  // namespace vornel
