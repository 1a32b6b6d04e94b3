// The process-wide shell state.
#include "shell/ShellState.h"

#include "shell/WindowHost.h"

namespace vornel {

// Never destroyed: the game thread may still present a frame while the process exits.
ShellState& ShellState::instance() {
    static ShellState* const state = new ShellState();
    return *state;
}

void ShellState::reset() {
    m_programFolder.clear();
    m_pocketPc = false;
    m_rawFrameBuffer = RawFrameBuffer{};
    m_rawFrameBufferUsable = false;
    m_qwerty = false;
    m_screenWidth = 0;
    m_screenHeight = 0;
    m_doubleSize = false;
    m_touchLayout = false;
    m_windowActive = false;
    m_shellActivation = ShellActivationRecord{};
    m_windowHost = nullptr;
    if (m_game) {
        m_game->clear();  // children and parents hold each other: break the cycles first
    }
    m_game = nullptr;
    m_paintPending = false;
    m_gdiPaintCountdown = 0;
    m_lastPenX = 0;
    m_lastPenY = 0;
    m_shuttingDown = false;
}

}  // namespace vornel
