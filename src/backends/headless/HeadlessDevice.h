// The emulated handheld without a window or sound device: display memory lives in memory
// (screenshots read it), the window's thread waits on the message queue alone, and sound
// plays on a timer in device time, which is virtual unless the setup asks otherwise.
#pragma once

#include "device/EmulatedDevice.h"
#include "backends/headless/HeadlessWaveOutput.h"

namespace vornel {

class HeadlessDevice final : public EmulatedDevice {
public:
    // recorder may be null; when given, what the wave output plays is written to it.
    HeadlessDevice(const DeviceProfile& profile, Setup setup, AudioTap* recorder = nullptr);
    ~HeadlessDevice() override;

    WaveOutput& waveOutput() override { return m_waveOutput; }

protected:
    void waitForInput() override;
    bool showsOnAnyThread() const override { return true; }  // nothing is shown
    bool openWindow(const std::string& title) override;

private:
    HeadlessWaveOutput m_waveOutput;
};

}  // namespace vornel
