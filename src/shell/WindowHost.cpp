// Presenting through the window's paint, with the paint-pending handshake, and sounds.
#include "shell/WindowHost.h"

#include "core/Clock.h"
#include "media/SoundPlayer.h"
#include "platform/WindowMessage.h"
#include "shell/ShellState.h"

namespace vornel {

void WindowHost::presentRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (m_state.m_shuttingDown.load()) {
        return;  // the message loop has ended: no paint will come
    }
    Rect rect{left, top, right, bottom};
    if (m_state.m_doubleSize.load()) {
        rect = Rect{left * 2, top * 2, right * 2, bottom * 2};
    }
    m_state.m_paintPending.store(true);
    if (m_platform.paintInTurn(rect)) {
        sleepMilliseconds(kPollMs);  // the device time of the one poll the hand-over takes
        return;
    }
    m_platform.invalidateRect(rect);
    for (int32_t poll = 0; poll < kPaintPolls && m_state.m_paintPending.load(); ++poll) {
        sleepMilliseconds(kPollMs);
    }
}

void WindowHost::playSound(const String& name, int32_t loop) {
    SoundPlayer::instance().playSound(name.text(), loop);
}

void WindowHost::stopSound() {
    SoundPlayer::instance().stopSound();
}

void WindowHost::beginDrawing() {
    m_drawing.lock();
}

void WindowHost::endDrawing() {
    m_drawing.unlock();
}

void WindowHost::closeWindow() {
    if (m_state.m_demo != nullptr) {
        m_state.m_demo->gameClosesWindow();
    }
    WindowMessage message;
    message.type = MessageType::Destroy;
    m_platform.postMessage(message);
}

bool WindowHost::isOpen() {
    return !m_state.m_shuttingDown.load();
}

}  // namespace vornel
