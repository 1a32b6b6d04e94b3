// The headless backend.
#include "platform/headless/HeadlessDevice.h"

#include <chrono>

#include "platform/headless/StopSignals.h"

namespace vornel {
namespace {

// How often the window's thread looks for a stop signal while no message arrives.
constexpr std::chrono::milliseconds kSignalPoll{50};

}  // namespace

HeadlessDevice::HeadlessDevice(const DeviceProfile& profile, Setup setup, WavRecorder* recorder)
    : EmulatedDevice(profile, std::move(setup)), m_waveOutput(deviceClock(), recorder) {}

HeadlessDevice::~HeadlessDevice() {
    stopThreads();
    m_waveOutput.close();
}

void HeadlessDevice::waitForInput() {
    queue().waitForEntry(kSignalPoll);
    if (StopSignals::takeRequest()) {
        WindowMessage destroy;
        destroy.type = MessageType::Destroy;
        postMessage(destroy);
    }
}

bool HeadlessDevice::openWindow(const std::string&) {
    return true;
}

}  // namespace vornel
