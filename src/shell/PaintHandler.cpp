// The paint handler: display-memory path, device-context path and the countdown between them.
#include "shell/PaintHandler.h"

#include "shell/DisplayMemory.h"
#include "shell/WindowHost.h"

namespace vornel {

void PaintHandler::paint() {
    const Rect paintRect = m_platform.beginPaint();
    Screen* game = m_shell.m_game.get();
    if (game != nullptr) {
        if (mayUseDisplayMemory()) {
            paintIntoDisplayMemory(*game, paintRect);
        } else {
            if (m_shell.m_gdiPaintCountdown > 0) {
                --m_shell.m_gdiPaintCountdown;
            }
            paintThroughDeviceContext(*game);
        }
    }
    m_platform.endPaint();
    m_shell.m_paintPending.store(false);
}

// Without a host nothing draws, so there is nothing to keep out.
std::unique_lock<std::mutex> PaintHandler::lockDrawing() {
    if (!m_shell.m_windowHost) {
        return {};
    }
    return std::unique_lock<std::mutex>(m_shell.m_windowHost->drawingLock());
}

bool PaintHandler::mayUseDisplayMemory() const {
    return m_shell.m_rawFrameBufferUsable && m_shell.m_windowActive.load() && m_shell.m_gdiPaintCountdown == 0;
}

bool PaintHandler::hasWholeBuffer(const Screen& game) {
    return game.m_width > 0 && game.m_height > 0 &&
           static_cast<int64_t>(game.m_width) * game.m_height == game.m_buffer.length();
}

void PaintHandler::paintIntoDisplayMemory(Screen& game, const Rect& paint) {
    const RawFrameBuffer& frame = m_shell.m_rawFrameBuffer;
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
    if (m_shell.m_doubleSize.load()) {
        m_platform.stretchBits(game.m_buffer.data(), game.m_width, game.m_height, m_shell.m_screenWidth.load(),
                               m_shell.m_screenHeight.load());
    } else {
        m_platform.setBitsToDevice(game.m_buffer.data(), game.m_width, game.m_height);
    }
}

}  // namespace vornel
