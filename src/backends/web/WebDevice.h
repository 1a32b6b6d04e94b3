// The emulated handheld in a web page: the display drawn into the page's canvas, the page's
// keys, pointer and visibility as the window's messages, and the game on the page's only
// thread: its body runs from the message loop, and each of its waits lets the window's
// messages through and then yields to the page.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "device/EmulatedDevice.h"
#include "backends/web/WebClock.h"
#include "backends/web/WebWaveOutput.h"

namespace vornel {

class WebDevice final : public EmulatedDevice {
public:
    WebDevice(const DeviceProfile& profile, Setup setup);
    ~WebDevice() override;

    // The device the page's events reach; null before one is made.
    static WebDevice* current();

    Clock& clock() override { return m_clock; }
    WaveOutput& waveOutput() override { return m_waveOutput; }
    bool findRunningCopy() override { return false; }  // one page, one game
    bool adoptGameBody(std::function<void()>& body) override;

    // Dispatches what the page and the game have queued, played sounds included; a call
    // inside another does nothing.
    void pump();
    // From the page: a key of the handheld (its virtual-key code), a typed character, the
    // pen (display pixels), the page shown or hidden.
    void pageKey(bool down, int32_t virtualKey);
    void pageCharacter(int32_t code);
    void pagePen(int32_t kind, int32_t x, int32_t y);
    void pageVisible(bool visible);

protected:
    void waitForInput() override;
    bool openWindow(const std::string& title) override;
    void presentDisplay() override;
    void displayTurned() override;

private:
    WebClock m_clock;
    WebWaveOutput m_waveOutput;
    std::function<void()> m_gameBody;
    bool m_pumping = false;
    bool m_penDown = false;
    std::vector<uint8_t> m_rgba;  // the display as the canvas takes it
};

}  // namespace vornel
