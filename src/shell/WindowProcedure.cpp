// The window procedure's message table.
#include "shell/WindowProcedure.h"

#include <utility>

#include "core/FrameStats.h"
#include "shell/KeyMap.h"

namespace vornel {

int32_t WindowProcedure::mainWindowProc(const WindowMessage& message) {
    switch (message.type) {
        case MessageType::Create:
            return onCreate();
        case MessageType::Destroy:
            return onDestroy();
        case MessageType::Size:
            return onSize(message);
        case MessageType::Activate:
            return onActivate(message);
        case MessageType::Paint:
            m_paintHandler.paint();
            return 0;
        case MessageType::EraseBackground:
            return 1;  // nothing is erased: every paint covers the whole window
        case MessageType::SettingChange:
            return onSettingChange(message);
        default:
            break;
    }
    if (isGameInput(message.type)) {
        // Before the game object exists (while the window is being made) input is dropped.
        return m_state.m_game ? onGameInput(m_state.m_game->input(), message) : 0;
    }
    return m_platform.defaultProcedure(message);
}

bool WindowProcedure::isGameInput(MessageType type) {
    return type == MessageType::KeyDown || type == MessageType::KeyUp || type == MessageType::Char ||
           type == MessageType::PenMove || type == MessageType::PenDown || type == MessageType::PenUp;
}

int32_t WindowProcedure::onGameInput(InputQueue& input, const WindowMessage& message) {
    m_receivedUs = message.receivedUs;
    const int32_t result = passGameInput(input, message);
    m_receivedUs = 0;
    return result;
}

// From here the input's latency waits for the frames (core/InputLatency.h).
void WindowProcedure::handedToGame() {
    FrameStats::ofThisProcess().inputDelivered(std::exchange(m_receivedUs, 0));
}

int32_t WindowProcedure::passGameInput(InputQueue& input, const WindowMessage& message) {
    switch (message.type) {
        case MessageType::KeyDown:
            return onKeyDown(input, message.wParam);
        case MessageType::KeyUp:
            return onKeyUp(input, message.wParam);
        case MessageType::Char:
            return onChar(input, message.wParam);
        case MessageType::PenMove:
            return onPenMove(input, message);
        case MessageType::PenDown:
            return onPenDown(input, message.lParam);
        case MessageType::PenUp:
            return onPenUp(input, message.lParam);
        default:
            return 0;
    }
}

// ---- The window ----

int32_t WindowProcedure::onCreate() {
    ShellActivationRecord& record = m_state.m_shellActivation;
    record = ShellActivationRecord{};
    record.size = kActivationRecordSize;
    return 0;
}

int32_t WindowProcedure::onDestroy() {
    m_platform.postQuitMessage(0);
    return 0;
}

// The game resizes its surface itself, at the start of its next frame; the next paints go
// through the device context while the display settles.
int32_t WindowProcedure::onSize(const WindowMessage& message) {
    const int32_t width = lowWord(message.lParam);
    const int32_t height = highWord(message.lParam);
    m_state.m_screenWidth.store(width);
    m_state.m_screenHeight.store(height);
    m_state.m_deviceContextPaintsLeft = PaintHandler::kPaintsAfterSizeChange;
    if (m_state.m_game) {
        if (m_state.m_doubleSize.load()) {
            m_state.m_game->setSize(width / 2, height / 2);
        } else {
            m_state.m_game->setSize(width, height);
        }
    }
    return 0;
}

// In the background the game thread waits inside its frame pacing. The handheld's shell
// library also heard of activations on a Pocket PC; there is no such library here.
int32_t WindowProcedure::onActivate(const WindowMessage& message) {
    const bool active = lowWord(message.wParam) != 0;
    if (m_state.m_game) {
        m_state.m_game->input().setPaused(!active);
    }
    m_state.m_windowActive.store(active);
    return m_state.m_pocketPc.load() ? 0 : m_platform.defaultProcedure(message);
}

int32_t WindowProcedure::onSettingChange(const WindowMessage& message) {
    return m_state.m_pocketPc.load() ? 0 : m_platform.defaultProcedure(message);
}

// ---- Keys ----

int32_t WindowProcedure::gameKeyOf(uint32_t virtualKey) const {
    return KeyMap::mapVirtualKey(virtualKey, m_state.m_qwerty.load());
}

int32_t WindowProcedure::onKeyDown(InputQueue& input, uint32_t virtualKey) {
    const int32_t code = static_cast<int8_t>(gameKeyOf(virtualKey));
    if (code <= GameKey::kNone) {
        return 0;
    }
    input.keyDown(code);
    handedToGame();
    return 1;
}

// The soft keys and the back key reach the game as a press and a release when they are let
// go; every other key was pressed at key down.
int32_t WindowProcedure::onKeyUp(InputQueue& input, uint32_t virtualKey) {
    if (virtualKey == kIgnoredKeyUp) {
        return 0;
    }
    const int32_t code = gameKeyOf(virtualKey);
    if (code <= GameKey::kNone) {
        return 0;
    }
    if (virtualKey == KeyMap::kVirtualF1 || virtualKey == KeyMap::kVirtualF2 || virtualKey == KeyMap::kVirtualEscape) {
        input.keyDown(code);
    }
    input.keyUp(code);
    handedToGame();
    return 1;
}

// Characters whose key maps to a game key were passed at key down already.
int32_t WindowProcedure::onChar(InputQueue& input, uint32_t character) {
    if (gameKeyOf(character) != 0) {
        return 0;
    }
    const int32_t code = static_cast<int8_t>(character);
    input.keyDown(code);
    input.keyUp(code);
    handedToGame();
    return 0;
}

// ---- The pen ----

int32_t WindowProcedure::toGamePixels(int32_t windowPixels) const {
    return m_state.m_doubleSize.load() ? windowPixels / 2 : windowPixels;
}

int32_t WindowProcedure::onPenMove(InputQueue& input, const WindowMessage& message) {
    if (message.wParam != kPenDownOnly) {
        return 0;
    }
    const int32_t x = toGamePixels(lowWord(message.lParam));
    const int32_t y = toGamePixels(highWord(message.lParam));
    input.addDrag(x - m_state.m_lastPenX, y - m_state.m_lastPenY);
    m_state.m_lastPenX = x;
    m_state.m_lastPenY = y;
    input.setStylus(x, y);
    handedToGame();
    return 0;
}

// A tap is the confirm key, with the pen position beside it.
int32_t WindowProcedure::onPenDown(InputQueue& input, uint32_t point) {
    const int32_t x = toGamePixels(lowWord(point));
    const int32_t y = toGamePixels(highWord(point));
    m_state.m_lastPenX = x;
    m_state.m_lastPenY = y;
    input.setStylus(x, y);
    input.keyDown(GameKey::kConfirm);
    handedToGame();
    return 0;
}

int32_t WindowProcedure::onPenUp(InputQueue& input, uint32_t point) {
    input.setStylus(toGamePixels(lowWord(point)), toGamePixels(highWord(point)));
    input.keyUp(GameKey::kConfirm);
    handedToGame();
    return 0;
}

}  // namespace vornel
