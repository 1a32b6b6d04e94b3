// The game thread: it runs the game object's main loop while the first thread serves the
// window.
#pragma once

#include <cstdint>

namespace vornel {

class GameThread final {
public:
    // How long the shutdown waits for the game's run to end, real milliseconds.
    static constexpr int32_t kShutdownWaitMs = 1000;

    // Starts the thread on the process-wide game object.
    static void start();
    // The thread's body: the game object's run. Answers 0 when run returns.
    static int32_t gameThread();
    // At shutdown: waits up to waitMs for run to return and then collects the thread. A game
    // that keeps running is left to end with the process. Answers whether the thread ended.
    static bool finish(int32_t waitMs = kShutdownWaitMs);
    // Whether a thread was started and has not yet been collected.
    static bool isRunning();
};

}  // namespace vornel
