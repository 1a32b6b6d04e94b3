// The window procedure's message table.
#include "shell/WindowProcedure.h"

#include "platform/Platform.h"
#include "shell/KeyMap.h"
#include "shell/PaintHandler.h"
#include "shell/ShellState.h"

namespace vornel {

int32_t WindowProcedure::mainWindowProc(const WindowMessage& message) {
    ShellState& shell = ShellState::instance();
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
            PaintHandler::paint();
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
        return shell.m_game ? onGameInput(shell.m_game->input(), message) : 0;
    }
    return Platform::current().defaultProcedure(message);
}

bool WindowProcedure::isGameInput(MessageType type) {
    return type == MessageType::KeyDown || type == MessageType::KeyUp || type == MessageType::Char ||
           type == MessageType::PenMove || type == MessageType::PenDown || type == MessageType::PenUp;
}

int32_t WindowProcedure::onGameInput(InputQueue& input, const WindowMessage& message) {
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
    ShellActivationRecord& record = ShellState::instance().m_shellActivation;
    record = ShellActivationRecord{};
    record.size = kActivationRecordSize;
    return 0;
}

int32_t WindowProcedure::onDestroy() {
    Platform::current().postQuitMessage(0);
    return 0;
}

// The game resizes its surface itself, at the start of its next frame; the next paints go
// through the device context while the display settles.
int32_t WindowProcedure::onSize(const WindowMessage& message) {
    ShellState& shell = ShellState::instance();
    const int32_t width = lowWord(message.lParam);
    const int32_t height = highWord(message.lParam);
    shell.m_screenWidth.store(width);
    shell.m_screenHeight.store(height);
    shell.m_gdiPaintCountdown = PaintHandler::kPaintsAfterSizeChange;
    if (shell.m_game) {
        if (shell.m_doubleSize.load()) {
            shell.m_game->setSize(width / 2, height / 2);
        } else {
            shell.m_game->setSize(width, height);
        }
    }
    return 0;
}

// In the background the game thread waits inside its frame pacing. The handheld's shell
// library also heard of activations on a Pocket PC; there is no such library here.
int32_t WindowProcedure::onActivate(const WindowMessage& message) {
    ShellState& shell = ShellState::instance();
    const bool active = lowWord(message.wParam) != 0;
    if (shell.m_game) {
        shell.m_game->input().setPaused(!active);
    }
    shell.m_windowActive.store(active);
    return shell.m_pocketPc.load() ? 0 : Platform::current().defaultProcedure(message);
}

int32_t WindowProcedure::onSettingChange(const WindowMessage& message) {
    return ShellState::instance().m_pocketPc.load() ? 0 : Platform::current().defaultProcedure(message);
}

// ---- Keys ----

int32_t WindowProcedure::onKeyDown(InputQueue& input, uint32_t virtualKey) {
    const int32_t code = static_cast<int8_t>(KeyMap::mapVirtualKey(virtualKey));
    if (code <= GameKey::kNone) {
        return 0;
    }
    input.keyDown(code);
    return 1;
}

// The soft keys and the back key reach the game as a press and a release when they are let
// go; every other key was pressed at key down.
int32_t WindowProcedure::onKeyUp(InputQueue& input, uint32_t virtualKey) {
    if (virtualKey == kIgnoredKeyUp) {
        return 0;
    }
    const int32_t code = KeyMap::mapVirtualKey(virtualKey);
    if (code <= GameKey::kNone) {
        return 0;
    }
    if (virtualKey == KeyMap::kVirtualF1 || virtualKey == KeyMap::kVirtualF2 || virtualKey == KeyMap::kVirtualEscape) {
        input.keyDown(code);
    }
    input.keyUp(code);
    return 1;
}

// Characters whose key maps to a game key were passed at key down already.
int32_t WindowProcedure::onChar(InputQueue& input, uint32_t character) {
    if (KeyMap::mapVirtualKey(character) != 0) {
        return 0;
    }
    const int32_t code = static_cast<int8_t>(character);
    input.keyDown(code);
    input.keyUp(code);
    return 0;
}

// ---- The pen ----

int32_t WindowProcedure::toGamePixels(int32_t windowPixels) {
    return ShellState::instance().m_doubleSize.load() ? windowPixels / 2 : windowPixels;
}

int32_t WindowProcedure::onPenMove(InputQueue& input, const WindowMessage& message) {
    if (message.wParam != kPenDownOnly) {
        return 0;
    }
    ShellState& shell = ShellState::instance();
    const int32_t x = toGamePixels(lowWord(message.lParam));
    const int32_t y = toGamePixels(highWord(message.lParam));
    input.addDrag(x - shell.m_lastPenX, y - shell.m_lastPenY);
    shell.m_lastPenX = x;
    shell.m_lastPenY = y;
    input.setStylus(x, y);
    return 0;
}

// A tap is the confirm key, with the pen position beside it.
int32_t WindowProcedure::onPenDown(InputQueue& input, uint32_t point) {
    ShellState& shell = ShellState::instance();
    const int32_t x = toGamePixels(lowWord(point));
    const int32_t y = toGamePixels(highWord(point));
    shell.m_lastPenX = x;
    shell.m_lastPenY = y;
    input.setStylus(x, y);
    input.keyDown(GameKey::kConfirm);
    return 0;
}

int32_t WindowProcedure::onPenUp(InputQueue& input, uint32_t point) {
    input.setStylus(toGamePixels(lowWord(point)), toGamePixels(highWord(point)));
    input.keyUp(GameKey::kConfirm);
    return 0;
}

}  // namespace vornel
