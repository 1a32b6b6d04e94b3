// The window's message queue.
#include "device/MessageQueue.h"

#include <utility>

#include "core/Rect.h"

namespace vornel {

void MessageQueue::setWakeHandler(std::function<void()> wake) {
    m_wake = std::move(wake);
}

void MessageQueue::post(const WindowMessage& message) {
    Entry entry;
    entry.message = message;
    push(std::move(entry));
}

void MessageQueue::postAction(std::function<void()> action) {
    Entry entry;
    entry.kind = Entry::Kind::Action;
    entry.action = std::move(action);
    push(std::move(entry));
}

void MessageQueue::postQuit(int32_t exitCode) {
    Entry entry;
    entry.kind = Entry::Kind::Quit;
    entry.message.wParam = static_cast<uint32_t>(exitCode);
    push(std::move(entry));
}

void MessageQueue::invalidate(const Rect& rect) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_invalid = unite(m_invalid, rect);
        m_paintAsked = true;
        if (m_paintQueued) {
            return;
        }
        m_paintQueued = true;
        Entry entry;
        entry.message.type = MessageType::Paint;
        m_entries.push_back(std::move(entry));
    }
    wakeWindow();
}

Rect MessageQueue::takeInvalidRect() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_paintAsked = false;
    return std::exchange(m_invalid, Rect{});
}

bool MessageQueue::take(Entry& entry) {
    std::lock_guard<std::mutex> guard(m_lock);
    while (!m_entries.empty()) {
        entry = std::move(m_entries.front());
        m_entries.pop_front();
        const bool isPaint = entry.kind == Entry::Kind::Message && entry.message.type == MessageType::Paint;
        if (!isPaint) {
            return true;
        }
        // Invalidations from now on queue a new Paint; this one paints what is invalid so far.
        m_paintQueued = false;
        if (m_paintAsked) {
            return true;
        }
    }
    return false;
}

// A post between the look and the wait has rung the doorbell already: the wait ends at once.
void MessageQueue::waitForEntry(uint64_t deadline) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_entries.empty()) {
            return;
        }
    }
    m_clock.waitForWake(Clock::Role::kWindow, deadline);
}

void MessageQueue::push(Entry entry) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_entries.push_back(std::move(entry));
    }
    wakeWindow();
}

void MessageQueue::wakeWindow() {
    m_clock.wake(Clock::Role::kWindow);
    if (m_wake) {
        m_wake();
    }
}

}  // namespace vornel
