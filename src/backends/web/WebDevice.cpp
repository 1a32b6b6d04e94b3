// The web backend.
#include "backends/web/WebDevice.h"

#include <emscripten.h>

#include "device/DisplayImage.h"
#include "platform/VirtualKey.h"

namespace vornel {
namespace {

// How long the message loop yields to the page while nothing is queued, real milliseconds.
constexpr int32_t kIdleMs = 10;

WebDevice* g_current = nullptr;

enum PenKind { kPenDown = 0, kPenMove = 1, kPenUp = 2 };

}  // namespace

WebDevice::WebDevice(const DeviceProfile& profile, Setup setup)
    : EmulatedDevice(profile, std::move(setup)),
      m_clock(deviceClock(), speed(), [this] { pump(); }),
      m_waveOutput(deviceClock()) {
    g_current = this;
}

WebDevice::~WebDevice() {
    stopThreads();
    g_current = nullptr;
}

WebDevice* WebDevice::current() {
    return g_current;
}

bool WebDevice::adoptGameBody(std::function<void()>& body) {
    m_gameBody = std::move(body);
    return true;
}

// The game's body runs here, once, the first time the loop waits: until it returns, its own
// waits serve the messages.
void WebDevice::waitForInput() {
    if (m_gameBody) {
        std::function<void()> body = std::move(m_gameBody);
        m_gameBody = nullptr;
        body();
        return;
    }
    m_waveOutput.completeDue();
    emscripten_sleep(kIdleMs);
}

void WebDevice::pump() {
    if (m_pumping) {
        return;
    }
    m_pumping = true;
    m_waveOutput.completeDue();
    WindowMessage message;
    while (takeMessage(message)) {
        dispatchMessage(message);
    }
    m_pumping = false;
}

bool WebDevice::openWindow(const std::string& title) {
    EM_ASM({
        document.title = UTF8ToString($0);
        Module.vornelLettersByPlace = $1 !== 0;
    }, title.c_str(), profile().lettersAsKeypad ? 1 : 0);
    displayTurned();
    return true;
}

// The upright display as RGBA for the canvas's image data.
void WebDevice::presentDisplay() {
    const DisplayImage picture = displayImage();
    m_rgba.resize(static_cast<std::size_t>(picture.width()) * picture.height() * 4);
    for (std::size_t i = 0; i < picture.pixels().size(); ++i) {
        const uint32_t rgb = DisplayImage::toRgb888(picture.pixels()[i]);
        m_rgba[i * 4] = static_cast<uint8_t>(rgb >> 16);
        m_rgba[i * 4 + 1] = static_cast<uint8_t>(rgb >> 8);
        m_rgba[i * 4 + 2] = static_cast<uint8_t>(rgb);
        m_rgba[i * 4 + 3] = 255;
    }
    EM_ASM({ Module.vornelPresent($0, $1, $2); }, m_rgba.data(), picture.width(), picture.height());
}

void WebDevice::displayTurned() {
    const int32_t orientation = displayOrientation();
    EM_ASM({ Module.vornelResize($0, $1); }, display().logicalWidth(orientation), display().logicalHeight(orientation));
}

void WebDevice::pageKey(bool down, int32_t virtualKey) {
    if (virtualKey > 0 && virtualKey < 256) {
        postMessage(messageOf(down ? MessageType::KeyDown : MessageType::KeyUp, static_cast<uint32_t>(virtualKey), 0));
    }
}

void WebDevice::pageCharacter(int32_t code) {
    if (code > 0 && code < 256) {
        postMessage(messageOf(MessageType::Char, static_cast<uint32_t>(code), 0));
    }
}

// The first finger or the left button is the pen, on handhelds that have one.
void WebDevice::pagePen(int32_t kind, int32_t x, int32_t y) {
    if (!profile().pen) {
        return;
    }
    const uint32_t point = packPoint(x, y);
    if (kind == kPenDown) {
        m_penDown = true;
        postMessage(messageOf(MessageType::PenDown, 0, point));
    } else if (kind == kPenMove && m_penDown) {
        postMessage(messageOf(MessageType::PenMove, 1, point));
    } else if (kind == kPenUp && m_penDown) {
        m_penDown = false;
        postMessage(messageOf(MessageType::PenUp, 0, point));
    }
}

void WebDevice::pageVisible(bool visible) {
    postMessage(messageOf(MessageType::Activate, visible ? 1 : 0, 0));
}

}  // namespace vornel

// The page's way in: plain functions it calls with its events.
extern "C" {

EMSCRIPTEN_KEEPALIVE void vornel_page_key(int down, int virtualKey) {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageKey(down != 0, virtualKey);
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_page_character(int code) {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageCharacter(code);
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_page_pen(int kind, int x, int y) {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pagePen(kind, x, y);
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_page_visible(int visible) {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->pageVisible(visible != 0);
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_page_rotate() {
    if (vornel::WebDevice* device = vornel::WebDevice::current()) {
        device->runOnWindowThread([device] { device->rotate(); });
    }
}

}  // extern "C"
