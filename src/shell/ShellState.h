// The application shell's state: what the start-up learned about the device and the window,
// what the window procedure and the paint handler share, and the handles of the window host
// and the game object. The shell owns one; nothing else keeps it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/Ref.h"
#include "core/RunContext.h"
#include "demo/SessionTape.h"
#include "platform/Platform.h"
#include "shell/MatchWatch.h"
#include "shell/WindowHost.h"
#include "sprites/Screen.h"

namespace vornel {

// The record the handheld's shell library keeps about the window's activation: its size
// (12 bytes) and two words of its own.
struct ShellActivationRecord {
    uint32_t size = 0;
    uint32_t reserved[2] = {0, 0};
};

// The start-up writes everything before the game thread starts; afterwards the first thread
// writes the screen size, the window-active flag and the presentation state, and the game
// thread reads some of it. Fields read by both threads after start-up are atomic; the others
// belong to the first thread alone.
class ShellState final {
public:
    ShellState() = default;
    ShellState(const ShellState&) = delete;
    ShellState& operator=(const ShellState&) = delete;
    // The window host and the game object (emptied of its sprites) are released.
    ~ShellState();

    // ---- Start-up ----
    // The run's folders and clock, from the start-up on; first, so that it ends last.
    std::optional<RunContext> m_context;
    std::string m_programFolder;            // the executable's folder, with its separator
    std::atomic<bool> m_pocketPc{false};    // the platform type is "PocketPC"
    RawFrameBuffer m_rawFrameBuffer;        // how to write straight into display memory
    bool m_rawFrameBufferUsable = false;    // paints may copy into display memory
    std::atomic<bool> m_qwerty{false};      // the letter keys stand in for the phone keypad
    std::atomic<int32_t> m_screenWidth{0};  // the window's client size, pixels
    std::atomic<int32_t> m_screenHeight{0};
    std::atomic<bool> m_doubleSize{false};   // window 480 pixels wide or more: the game draws at half size
    std::atomic<bool> m_touchLayout{false};  // a pen device: the ball flight uses the touch layout
    std::atomic<bool> m_windowActive{false};
    ShellActivationRecord m_shellActivation;
    Ref<WindowHost> m_windowHost;
    Ref<Screen> m_game;  // the game object; the window procedure feeds it input
    SessionTape* m_demo = nullptr;  // the demo being recorded or played back; null for none
    std::unique_ptr<MatchWatch> m_matchWatch;  // what a recording game reads through

    // ---- Presentation ----
    std::atomic<bool> m_paintPending{false};  // set by the game thread, cleared by the paint handler
    int32_t m_deviceContextPaintsLeft = 0;    // paints that must still go through the device context

    // ---- Window procedure ----
    int32_t m_lastPenX = 0;  // where the pen went down or last moved while down, game pixels
    int32_t m_lastPenY = 0;

    // ---- Shutdown ----
    // Set once the message loop has ended: no paint will come any more, so presenting stops
    // waiting for one, and a game that can end its run does so.
    std::atomic<bool> m_shuttingDown{false};
    // Set while a playback's game is stopped to be started afresh: the window stays open.
    std::atomic<bool> m_restarting{false};
};

}  // namespace vornel
