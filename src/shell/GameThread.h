// The game thread: it runs the game object's main loop while the first thread serves the
// window. It takes the game's turns of a virtual clock; the window's thread waits for it (its
// start, the end of its run) through the clock, never apart from it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "core/Clock.h"
#include "core/Ref.h"
#include "platform/Platform.h"
#include "sprites/Screen.h"

namespace vornel {

class GameThread final {
public:
    // How long the shutdown waits for the game's run to end, device milliseconds.
    static constexpr int32_t kShutdownWaitMs = 1000;

    GameThread();
    // A thread still joinable here is detached: it was left running by finish().
    ~GameThread();
    GameThread(const GameThread&) = delete;
    GameThread& operator=(const GameThread&) = delete;

    // What runs on the game thread around the game's run: first thing, and once it returns.
    struct Hooks {
        std::function<void()> beforeRun;
        std::function<void()> afterRun;
    };

    // Starts the thread on the game object; returns once beforeRun has run there. A platform
    // without threads takes the body instead and runs it from its message loop.
    void start(Ref<Screen> game, Hooks hooks = {}, Platform* platform = nullptr);
    // The thread's body: the game object's run. Answers 0 when run returns.
    static int32_t gameThread(const Ref<Screen>& game);
    // At shutdown: waits up to waitMs for run to return and then collects the thread. A game
    // that keeps running is left to end with the process. Answers whether the thread ended.
    bool finish(int32_t waitMs = kShutdownWaitMs);
    // Whether a thread was started and has not yet been collected.
    bool isRunning() const;
    // Whether finish() had to leave a running game behind: whatever it uses must then live on.
    bool wasLeftRunning() const { return m_leftRunning; }

private:
    struct Record;
    // Shared with the thread, so that a thread left running never meets a freed record.
    std::shared_ptr<Record> m_record;
    Clock* m_clock = nullptr;  // the platform's, else the installed one; set by start()
    std::thread m_thread;
    bool m_leftRunning = false;
};

}  // namespace vornel
