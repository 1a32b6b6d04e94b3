// Starting, running and collecting the game thread.
#include "shell/GameThread.h"

#include <atomic>

namespace vornel {

// The window's thread learns of both through its doorbell.
struct GameThread::Record {
    std::atomic<bool> runEnded{false};
    std::atomic<bool> started{false};
};

GameThread::GameThread() : m_record(std::make_shared<Record>()) {}

GameThread::~GameThread() {
    if (m_thread.joinable()) {
        m_thread.detach();
    }
}

void GameThread::start(Ref<Screen> game, Hooks hooks, Platform* platform) {
    m_record->runEnded.store(false);
    m_record->started.store(false);
    m_leftRunning = false;
    Clock& clock = platform != nullptr ? platform->clock() : Clock::current();
    m_clock = &clock;
    std::function<void()> body = [record = m_record, game = std::move(game), hooks = std::move(hooks), &clock] {
        if (hooks.beforeRun) {
            hooks.beforeRun();
        }
        record->started.store(true);
        clock.wake(Clock::Role::kWindow);
        gameThread(game);
        if (hooks.afterRun) {
            hooks.afterRun();
        }
        record->runEnded.store(true);
        clock.wake(Clock::Role::kWindow);
    };
    if (platform != nullptr && platform->adoptGameBody(body)) {
        return;  // it runs later, on this thread
    }
    clock.enroll(Clock::Role::kGame);
    m_thread = std::thread([body = std::move(body), &clock] {
        clock.attach(Clock::Role::kGame);
        body();
        clock.leave();
    });
    while (!m_record->started.load()) {
        clock.waitForWake(Clock::Role::kWindow, Clock::kNever);
    }
}

int32_t GameThread::gameThread(const Ref<Screen>& game) {
    if (game) {
        game->run();
    }
    return 0;
}

bool GameThread::finish(int32_t waitMs) {
    if (!m_thread.joinable()) {
        return true;
    }
    Clock& clock = *m_clock;
    const uint64_t giveUp = clock.microseconds() + uint64_t(waitMs) * 1000;
    while (!m_record->runEnded.load() && clock.waitForWake(Clock::Role::kWindow, giveUp)) {
    }
    const bool runEnded = m_record->runEnded.load();
    if (runEnded) {
        clock.awaitLeft(Clock::Role::kGame);
        m_thread.join();
    } else {
        m_thread.detach();
        m_leftRunning = true;
    }
    return runEnded;
}

bool GameThread::isRunning() const {
    return m_thread.joinable();
}

}  // namespace vornel
