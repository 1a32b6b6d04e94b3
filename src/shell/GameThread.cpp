// Starting, running and collecting the game thread.
#include "shell/GameThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vornel {

struct GameThread::Record {
    std::mutex lock;
    std::condition_variable ended;
    bool runEnded = false;
    bool started = false;

    void markStarted() {
        const std::lock_guard<std::mutex> guard(lock);
        started = true;
        ended.notify_all();
    }

    void markRunEnded() {
        const std::lock_guard<std::mutex> guard(lock);
        runEnded = true;
        ended.notify_all();
    }
};

GameThread::GameThread() : m_record(std::make_shared<Record>()) {}

GameThread::~GameThread() {
    if (m_thread.joinable()) {
        m_thread.detach();
    }
}

void GameThread::start(Ref<Screen> game, Hooks hooks, Platform* platform) {
    m_record->runEnded = false;
    m_record->started = false;
    m_leftRunning = false;
    std::function<void()> body = [record = m_record, game = std::move(game), hooks = std::move(hooks)] {
        if (hooks.beforeRun) {
            hooks.beforeRun();
        }
        record->markStarted();
        gameThread(game);
        if (hooks.afterRun) {
            hooks.afterRun();
        }
        record->markRunEnded();
    };
    if (platform != nullptr && platform->adoptGameBody(body)) {
        return;  // it runs later, on this thread
    }
    m_thread = std::thread(std::move(body));
    std::unique_lock<std::mutex> guard(m_record->lock);
    m_record->ended.wait(guard, [this] { return m_record->started; });
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
    bool runEnded = false;
    {
        std::unique_lock<std::mutex> guard(m_record->lock);
        runEnded = m_record->ended.wait_for(guard, std::chrono::milliseconds(waitMs),
                                            [this] { return m_record->runEnded; });
    }
    if (runEnded) {
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
