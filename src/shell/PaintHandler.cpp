// The paint handler: display-memory path, device-context path and the countdown between them.
#include "shell/PaintHandler.h"

#include "shell/DisplayMemory.h"
#include "shell/WindowHost.h"

namespace vornel {

void PaintHandler::paint() {
    const Rect paintRect = m_platform.beginPaint();
    Screen* game = m_state.m_game.get();
    if (game != nullptr) {
        if (mayUseDisplayMemory()) {
            paintIntoDisplayMemory(*game, paintRect);
        } else {
            if (m_state.m_deviceContextPaintsLeft > 0) {
                --m_state.m_deviceContextPaintsLeft;
            }
            paintThroughDeviceContext(*game);
        }
    }
    m_platform.endPaint();
    m_state.m_paintPending.store(false);
}

// Without a host nothing draws, so there is nothing to keep out.
std::unique_lock<std::mutex> PaintHandler::lockDrawing() {
    if (!m_state.m_windowHost) {
        return {};
    }
    return std::unique_lock<std::mutex>(m_state.m_windowHost->drawingLock());
}

bool PaintHandler::mayUseDisplayMemory() const {
    return m_state.m_rawFrameBufferUsable && m_state.m_windowActive.load() && m_state.m_deviceContextPaintsLeft == 0;
}

bool PaintHandler::hasWholeBuffer(const Screen& game) {
    return game.m_width > 0 && game.m_height > 0 &&
           static_cast<int64_t>(game.m_width) * game.m_height == game.m_buffer.length();
}

void PaintHandler::paintIntoDisplayMemory(Screen& game, const Rect& paint) {
    const RawFrameBuffer& frame = m_state.m_rawFrameBuffer;
    const Rect window = m_platform.windowRect();
    const std::unique_lock<std::mutex> drawing = lockDrawing();
    if (!hasWholeBuffer(game)) {
        return;
    }
    // The record's strides are in bytes; the copy steps in 16-bit pixels.
    const DisplayMemory::Frame display{{frame.address, frame.yStride / 2, frame.height}, frame.width, frame.xStride / 2};
    DisplayMemory::copyToFrameBuffer(m_platform, game.frameBuffer(), display, paint, window, game.m_width == frame.width);
}

// The whole surface is handed over; the platform clips it to the region being painted.
void PaintHandler::paintThroughDeviceContext(Screen& game) {
    const std::unique_lock<std::mutex> drawing = lockDrawing();
    if (!hasWholeBuffer(game)) {
        return;
    }
    if (m_state.m_doubleSize.load()) {
        m_platform.stretchBits(game.m_buffer.data(), game.m_width, game.m_height, m_state.m_screenWidth.load(),
                               m_state.m_screenHeight.load());
    } else {
        m_platform.setBitsToDevice(game.m_buffer.data(), game.m_width, game.m_height);
    }
}

}  // namespace vornel
