// Releasing the shell's state.
#include "shell/ShellState.h"

#include "shell/WindowHost.h"

namespace vornel {

ShellState::~ShellState() {
    m_windowHost = nullptr;
    if (m_game) {
        m_game->clear();  // children and parents hold each other: break the cycles first
    }
    m_game = nullptr;
}

}  // namespace vornel
