// Starting, running and collecting the game thread.
#include "shell/GameThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "shell/ShellState.h"

namespace vornel {
namespace {

// Never destroyed: a game thread left running at exit must not meet destroyed members.
struct ThreadRecord {
    std::mutex lock;
    std::condition_variable ended;
    bool runEnded = false;
    std::thread thread;
};

ThreadRecord& record() {
    static ThreadRecord* const threadRecord = new ThreadRecord();
    return *threadRecord;
}

void markRunEnded() {
    ThreadRecord& threadRecord = record();
    const std::lock_guard<std::mutex> guard(threadRecord.lock);
    threadRecord.runEnded = true;
    threadRecord.ended.notify_all();
}

}  // namespace

void GameThread::start() {
    ThreadRecord& threadRecord = record();
    threadRecord.runEnded = false;
    threadRecord.thread = std::thread([] {
        gameThread();
        markRunEnded();
    });
}

int32_t GameThread::gameThread() {
    const Ref<Screen> game = ShellState::instance().m_game;
    if (game) {
        game->run();
    }
    return 0;
}

bool GameThread::finish(int32_t waitMs) {
    ThreadRecord& threadRecord = record();
    if (!threadRecord.thread.joinable()) {
        return true;
    }
    bool runEnded = false;
    {
        std::unique_lock<std::mutex> guard(threadRecord.lock);
        runEnded = threadRecord.ended.wait_for(guard, std::chrono::milliseconds(waitMs),
                                               [&threadRecord] { return threadRecord.runEnded; });
    }
    if (runEnded) {
        threadRecord.thread.join();
    } else {
        threadRecord.thread.detach();
    }
    return runEnded;
}

bool GameThread::isRunning() {
    return record().thread.joinable();
}

}  // namespace vornel
