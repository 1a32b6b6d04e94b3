// The application shell as one object: the state the start-up learns, the window's client
// (the window procedure and the paint handler behind it), the game thread and the built-in
// player's keys. The entry builds one for the process; tests build fresh ones.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "platform/WindowClient.h"
#include "shell/AutoplayKeys.h"
#include "shell/GameThread.h"
#include "shell/PaintHandler.h"
#include "shell/ShellState.h"
#include "shell/WindowProcedure.h"

namespace vornel {

class Shell final : public WindowClient {
public:
    // The platform must outlive the shell.
    explicit Shell(Platform& platform)
        : m_platform(platform),
          m_autoplayKeys(platform),
          m_paintHandler(m_state, platform),
          m_windowProcedure(m_state, platform, m_paintHandler) {}
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    ~Shell() = default;

    // Every message of the window goes through the window procedure.
    int32_t windowMessage(const WindowMessage& message) override { return m_windowProcedure.mainWindowProc(message); }

    Platform& platform() { return m_platform; }
    ShellState& state() { return m_state; }
    GameThread& gameThread() { return m_gameThread; }
    AutoplayKeys& autoplayKeys() { return m_autoplayKeys; }

private:
    Platform& m_platform;
    // Declared before the state so that it is destroyed after the game, whose built-in player
    // lets its held keys go through it when it is destroyed.
    AutoplayKeys m_autoplayKeys;
    ShellState m_state;
    PaintHandler m_paintHandler;
    WindowProcedure m_windowProcedure;
    GameThread m_gameThread;
};

}  // namespace vornel
