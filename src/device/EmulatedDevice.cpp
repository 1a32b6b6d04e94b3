// The emulated handheld's window, messages, painting and answers.
#include "device/EmulatedDevice.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "core/FrameStats.h"
#include "core/Rect.h"
#include "kernels/PixelKernels.h"
#include "device/ControllerButton.h"
#include "device/DeviceClock.h"
#include "device/SingleInstance.h"
#include "device/VirtualClock.h"
#include "platform/VirtualKey.h"

namespace vornel {
namespace {

int32_t nextOrientation(int32_t orientation) {
    if (orientation == Platform::kOrientation0) {
        return Platform::kOrientation90;
    }
    if (orientation == Platform::kOrientation90) {
        return Platform::kOrientation270;
    }
    return Platform::kOrientation0;
}

// How far display memory moves from one logical pixel of a row to the next, found from the
// row's first two pixels (a row of one pixel takes no step).
std::ptrdiff_t logicalRowStep(const PhysicalDisplay& display, int32_t orientation, int32_t x, int32_t y,
                              int32_t length) {
    if (length < 2) {
        return 0;
    }
    return static_cast<std::ptrdiff_t>(display.indexOf(orientation, x + 1, y)) -
           static_cast<std::ptrdiff_t>(display.indexOf(orientation, x, y));
}

// Copies `count` pixels of a logical row of display memory starting at `from` to the one
// starting at `to`; both run `step` apart.
void copyLogicalRow(uint16_t* memory, std::ptrdiff_t from, std::ptrdiff_t to, std::ptrdiff_t step, std::size_t count) {
    if (step == 1) {
        std::memcpy(memory + to, memory + from, count * sizeof(uint16_t));
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        memory[to] = memory[from];
        from += step;
        to += step;
    }
}

std::unique_ptr<Clock> clockFor(const EmulatedDevice::Setup& setup) {
    if (setup.virtualTime) {
        return std::make_unique<VirtualClock>(setup.speed);
    }
    return std::make_unique<DeviceClock>(setup.speed);
}

}  // namespace

EmulatedDevice::EmulatedDevice(const DeviceProfile& profile, Setup setup)
    : m_profile(profile),
      m_setup(std::move(setup)),
      m_clock(clockFor(m_setup)),
      m_display(profile.screenWidth, profile.screenHeight),
      m_windowRect{0, 0, profile.screenWidth, profile.screenHeight},
      m_queue(*m_clock) {
    m_clock->enroll(Clock::Role::kWindow);
    m_clock->attach(Clock::Role::kWindow);
}

EmulatedDevice::~EmulatedDevice() {
    stopThreads();
    m_clock->leave();
}

void EmulatedDevice::stopThreads() {
    m_instance.reset();
}

std::string EmulatedDevice::modulePath() {
    return m_setup.programFolder + "/vornel";
}

bool EmulatedDevice::systemParameter(int32_t which, std::string& value) {
    if (which == kPlatformType) {
        value = m_profile.platformType;
        return true;
    }
    if (which == kOemInfo) {
        value = m_profile.oemInfo;
        return true;
    }
    return false;
}

bool EmulatedDevice::queryRawFrameBuffer(RawFrameBuffer& record) {
    if (!m_profile.displayMemoryUsable) {
        return false;
    }
    record.format = RawFrameBuffer::kFormat565;
    record.bitsPerPixel = 16;
    record.address = m_display.memory();
    record.xStride = 2;
    record.yStride = 2 * m_display.width();
    record.width = m_display.width();
    record.height = m_display.height();
    return true;
}

bool EmulatedDevice::findRunningCopy() {
    if (m_instance) {
        return false;  // this copy already holds the folder
    }
    auto instance = std::make_unique<SingleInstance>(m_setup.saveFolder);
    if (!instance->claim()) {
        instance->askRunningCopyToRaise();
        return true;
    }
    instance->listen([this] { runOnWindowThread([this] { raiseRequested(); }); });
    m_instance = std::move(instance);
    return false;
}

bool EmulatedDevice::createWindow(const std::string& title, WindowClient& client) {
    if (m_client != nullptr || !openWindow(title)) {
        return false;
    }
    m_title = title;
    m_client = &client;
    m_client->windowMessage(messageOf(MessageType::Create));
    return true;
}

Rect EmulatedDevice::windowRect() {
    std::lock_guard<std::mutex> guard(m_windowLock);
    return m_windowRect;
}

Rect EmulatedDevice::clientRect() {
    const Rect window = windowRect();
    return {0, 0, window.right - window.left, window.bottom - window.top};
}

// A window never leaves the screen; a change of size reaches the procedure as Size at once,
// as moving a window did on the handheld.
void EmulatedDevice::moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
    const int32_t orientation = m_orientation.load();
    const int32_t screenWidth = m_display.logicalWidth(orientation);
    const int32_t screenHeight = m_display.logicalHeight(orientation);
    const Rect before = clientRect();
    Rect moved;
    moved.left = std::clamp(left, 0, screenWidth - 1);
    moved.top = std::clamp(top, 0, screenHeight - 1);
    moved.right = moved.left + std::clamp(width, 1, screenWidth - moved.left);
    moved.bottom = moved.top + std::clamp(height, 1, screenHeight - moved.top);
    {
        std::lock_guard<std::mutex> guard(m_windowLock);
        m_windowRect = moved;
    }
    const Rect after = clientRect();
    if ((after.right != before.right || after.bottom != before.bottom) && m_client != nullptr) {
        m_client->windowMessage(messageOf(MessageType::Size, 0, packPoint(after.right, after.bottom)));
    }
}

void EmulatedDevice::showWindow() {
    windowShown();
    const Rect client = clientRect();
    m_queue.post(messageOf(MessageType::Size, 0, packPoint(client.right, client.bottom)));
    m_queue.post(messageOf(MessageType::Activate, 1));
    m_queue.invalidate(client);
    if (m_whenShown) {
        std::exchange(m_whenShown, nullptr)();
    }
}

bool EmulatedDevice::getMessage(WindowMessage& message) {
    while (!m_quitReceived) {
        if (takeMessage(message)) {
            return true;
        }
        if (!m_quitReceived) {
            waitAsWindow();
        }
    }
    return false;
}

void EmulatedDevice::waitAsWindow() {
    {
        const std::lock_guard<std::mutex> guard(m_turnLock);
        m_windowWaits = true;
    }
    waitForInput();
    std::unique_lock<std::mutex> lock(m_turnLock);
    m_turnFree.wait(lock, [this] { return !m_paintingInTurn; });
    m_windowWaits = false;
}

bool EmulatedDevice::takeMessage(WindowMessage& message) {
    MessageQueue::Item item;
    while (!m_quitReceived && m_queue.take(item)) {
        switch (item.kind) {
            case MessageQueue::Item::Kind::Quit:
                m_quitCode.store(static_cast<int32_t>(item.message.wParam));
                m_quitReceived = true;
                break;
            case MessageQueue::Item::Kind::Action:
                item.action();
                break;
            case MessageQueue::Item::Kind::Message:
                message = item.message;
                return true;
        }
    }
    return false;
}

int32_t EmulatedDevice::dispatchMessage(const WindowMessage& message) {
    return m_client != nullptr ? m_client->windowMessage(message) : defaultProcedure(message);
}

// A Paint left alone still validates the window, or it would be painted forever.
int32_t EmulatedDevice::defaultProcedure(const WindowMessage& message) {
    if (message.type == MessageType::Paint) {
        m_queue.takeInvalidRect();
    }
    return 0;
}

// Whatever the input came from (a keyboard, a controller, a script, the built-in player), the
// soft keys and the back key arrive as the handheld's keyboard sent them: at their release only.
void EmulatedDevice::postMessage(const WindowMessage& message) {
    if (message.type == MessageType::KeyDown && VirtualKey::sendsOnlyKeyUp(static_cast<int32_t>(message.wParam))) {
        return;
    }
    m_queue.post(message);
}

void EmulatedDevice::deliverInput(const DeviceInput& input) {
    const auto value = static_cast<uint32_t>(input.value);
    const uint32_t point = packPoint(input.x, input.y);
    using Kind = DeviceInput::Kind;
    switch (input.kind) {
        case Kind::KeyDown: postMessage(messageOf(MessageType::KeyDown, value)); break;
        case Kind::KeyUp: postMessage(messageOf(MessageType::KeyUp, value)); break;
        case Kind::Char: postMessage(messageOf(MessageType::Char, value)); break;
        case Kind::PenDown: postMessage(messageOf(MessageType::PenDown, 0, point)); break;
        case Kind::PenMove: postMessage(messageOf(MessageType::PenMove, 1, point)); break;
        case Kind::PenUp: postMessage(messageOf(MessageType::PenUp, 0, point)); break;
        case Kind::Activate: postMessage(messageOf(MessageType::Activate, value)); break;
        case Kind::ButtonDown:
            postMessage(messageOf(MessageType::KeyDown, static_cast<uint32_t>(ControllerButton::virtualKeyOf(input.value))));
            break;
        case Kind::ButtonUp:
            postMessage(messageOf(MessageType::KeyUp, static_cast<uint32_t>(ControllerButton::virtualKeyOf(input.value))));
            break;
    }
}

void EmulatedDevice::invalidateRect(const Rect& rect) {
    m_queue.invalidate(intersect(rect, clientRect()));
}

// On virtual time no one sees how long a paint waits for the window's thread; the paint then
// runs at once on the asking thread, as the window's thread would have run it next.
bool EmulatedDevice::paintInTurn(const Rect& rect) {
    if (!m_setup.virtualTime || !showsOnAnyThread() || m_client == nullptr) {
        return false;
    }
    {
        const std::lock_guard<std::mutex> guard(m_turnLock);
        if (!m_windowWaits || m_paintingInTurn || !m_queue.invalidateInTurn(intersect(rect, clientRect()))) {
            return false;
        }
        m_paintingInTurn = true;
    }
    dispatchMessage(messageOf(MessageType::Paint));
    {
        const std::lock_guard<std::mutex> guard(m_turnLock);
        m_paintingInTurn = false;
    }
    m_turnFree.notify_all();
    return true;
}

Rect EmulatedDevice::beginPaint() {
    m_paintRect = intersect(m_queue.takeInvalidRect(), clientRect());
    m_painting = true;
    return m_paintRect;
}

void EmulatedDevice::endPaint() {
    m_painting = false;
    FrameStats::ofThisProcess().displayChanged();
    presentDisplay();
}

// Without a display of its own, display memory is what is shown.
void EmulatedDevice::presentDisplay() {
    FrameStats::ofThisProcess().displayShown();
}

Rect EmulatedDevice::drawableRect(const Rect& window, int32_t orientation, int32_t width, int32_t height) {
    const Rect client{0, 0, window.right - window.left, window.bottom - window.top};
    const Rect onScreen{0, 0, m_display.logicalWidth(orientation) - window.left,
                              m_display.logicalHeight(orientation) - window.top};
    Rect drawable = intersect(intersect(client, onScreen), Rect{0, 0, width, height});
    if (m_painting) {
        drawable = intersect(drawable, m_paintRect);
    }
    return drawable;
}

void EmulatedDevice::setBitsToDevice(const uint32_t* surface, int32_t width, int32_t height) {
    if (surface == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const Rect window = windowRect();
    const int32_t orientation = m_orientation.load();
    const Rect area = drawableRect(window, orientation, width, height);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint32_t* row = surface + static_cast<std::size_t>(y) * width;
        for (int32_t x = area.left; x < area.right; ++x) {
            m_display.setLogical(orientation, window.left + x, window.top + y, PhysicalDisplay::toRgb565(row[x]));
        }
    }
}

// Nearest-pixel stretch: target pixel (x, y) shows surface pixel (x * w / tw, y * h / th).
// The surface column of each target column is worked out once a call, which takes the 64-bit
// division out of the pixel loop; each target row then runs through display memory with the
// one step its orientation gives (display memory is addressed linearly along a logical row),
// through the active pixel kernels.
void EmulatedDevice::stretchBits(const uint32_t* surface, int32_t width, int32_t height, int32_t targetWidth,
                                 int32_t targetHeight) {
    if (surface == nullptr || width <= 0 || height <= 0 || targetWidth <= 0 || targetHeight <= 0) {
        return;
    }
    const Rect window = windowRect();
    const int32_t orientation = m_orientation.load();
    const Rect area = drawableRect(window, orientation, targetWidth, targetHeight);
    if (area.left >= area.right || area.top >= area.bottom) {
        return;
    }
    std::vector<int32_t> columns(static_cast<std::size_t>(area.right - area.left));
    for (int32_t x = area.left; x < area.right; ++x) {
        columns[static_cast<std::size_t>(x - area.left)] = static_cast<int32_t>(int64_t{x} * width / targetWidth);
    }
    const std::ptrdiff_t step = logicalRowStep(m_display, orientation, window.left + area.left, window.top + area.top,
                                               area.right - area.left);
    uint16_t* const memory = m_display.memory();
    const PixelKernels::StretchRow stretch = PixelKernels::active().stretchTo565;
    const int32_t left = window.left + area.left;
    const uint32_t* previousRow = nullptr;
    std::ptrdiff_t previousStart = 0;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint32_t* row = surface + int64_t{y} * height / targetHeight * width;
        const auto start = static_cast<std::ptrdiff_t>(m_display.indexOf(orientation, left, window.top + y));
        if (row == previousRow) {
            // Enlarged, this target row shows the same surface row as the one before it.
            copyLogicalRow(memory, previousStart, start, step, columns.size());
            continue;
        }
        stretch(row, columns.data(), columns.size(), memory + start, step);
        previousRow = row;
        previousStart = start;
    }
}

void EmulatedDevice::rotate() {
    const int32_t orientation = nextOrientation(m_orientation.load());
    m_orientation.store(orientation);
    const Rect screen{0, 0, m_display.logicalWidth(orientation), m_display.logicalHeight(orientation)};
    {
        std::lock_guard<std::mutex> guard(m_windowLock);
        m_windowRect = screen;
    }
    displayTurned();
    m_queue.post(messageOf(MessageType::Size, 0, packPoint(screen.right, screen.bottom)));
    m_queue.invalidate(screen);
}

void EmulatedDevice::raiseRequested() {
    m_raiseRequests.fetch_add(1);
    raiseWindow();
}

}  // namespace vornel
