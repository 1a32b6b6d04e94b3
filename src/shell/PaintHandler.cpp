// The paint handler: display-memory path, device-context path and the countdown between them.
#include "shell/PaintHandler.h"

#include <mutex>

#include "platform/Platform.h"
#include "shell/DisplayMemory.h"
#include "shell/ShellState.h"
#include "shell/WindowHost.h"

namespace vornel {
namespace {

// Keeps the game thread from changing the buffer while it is read; without a host (nothing
// draws then) there is nothing to keep out.
std::unique_lock<std::mutex> lockDrawing() {
    ShellState& shell = ShellState::instance();
    if (!shell.m_windowHost) {
        return {};
    }
    return std::unique_lock<std::mutex>(shell.m_windowHost->drawingLock());
}

}  // namespace

void PaintHandler::paint() {
    Platform& platform = Platform::current();
    ShellState& shell = ShellState::instance();
    const Rect paintRect = platform.beginPaint();
    Screen* game = shell.m_game.get();
    if (game != nullptr) {
        if (mayUseDisplayMemory()) {
            paintIntoDisplayMemory(*game, paintRect);
        } else {
            if (shell.m_gdiPaintCountdown > 0) {
                --shell.m_gdiPaintCountdown;
            }
            paintThroughDeviceContext(*game);
        }
    }
    platform.endPaint();
    shell.m_paintPending.store(false);
}

bool PaintHandler::mayUseDisplayMemory() {
    const ShellState& shell = ShellState::instance();
    return shell.m_rawFrameBufferUsable && shell.m_windowActive.load() && shell.m_gdiPaintCountdown == 0;
}

bool PaintHandler::hasWholeBuffer(const Screen& game) {
    return game.m_width > 0 && game.m_height > 0 &&
           static_cast<int64_t>(game.m_width) * game.m_height == game.m_buffer.length();
}

void PaintHandler::paintIntoDisplayMemory(Screen& game, const Rect& paint) {
    const RawFrameBuffer& frame = ShellState::instance().m_rawFrameBuffer;
    const Rect window = Platform::current().windowRect();
    const std::unique_lock<std::mutex> drawing = lockDrawing();
    if (!hasWholeBuffer(game)) {
        return;
    }
    // The record's strides are in bytes; the copy steps in 16-bit pixels.
    const DisplayMemory::Frame display{{frame.address, frame.yStride / 2, frame.height}, frame.width, frame.xStride / 2};
    DisplayMemory::copyToFrameBuffer(game.frameBuffer(), display, paint, window, game.m_width == frame.width);
}

// The whole surface is handed over; the platform clips it to the region being painted.
void PaintHandler::paintThroughDeviceContext(Screen& game) {
    const ShellState& shell = ShellState::instance();
    Platform& platform = Platform::current();
    const std::unique_lock<std::mutex> drawing = lockDrawing();
    if (!hasWholeBuffer(game)) {
        return;
    }
    if (shell.m_doubleSize.load()) {
        platform.stretchBits(game.m_buffer.data(), game.m_width, game.m_height, shell.m_screenWidth.load(),
                             shell.m_screenHeight.load());
    } else {
        platform.setBitsToDevice(game.m_buffer.data(), game.m_width, game.m_height);
    }
}

}  // namespace vornel
