// The window's message queue.
#include "device/MessageQueue.h"

#include <utility>

#include "core/Rect.h"

namespace vornel {

void MessageQueue::setWakeHandler(std::function<void()> wake) {
    m_wake = std::move(wake);
}

void MessageQueue::post(const WindowMessage& message) {
    Item item;
    item.message = message;
    push(std::move(item));
}

void MessageQueue::postAction(std::function<void()> action) {
    Item item;
    item.kind = Item::Kind::Action;
    item.action = std::move(action);
    push(std::move(item));
}

void MessageQueue::postQuit(int32_t exitCode) {
    Item item;
    item.kind = Item::Kind::Quit;
    item.message.wParam = static_cast<uint32_t>(exitCode);
    push(std::move(item));
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
        Item item;
        item.message.type = MessageType::Paint;
        m_items.push_back(std::move(item));
    }
    wakeWindow();
}

bool MessageQueue::invalidateInTurn(const Rect& rect) {
    std::lock_guard<std::mutex> guard(m_lock);
    const bool onlyAPaint = m_items.size() == 1 && m_paintQueued && m_items.front().kind == Item::Kind::Message &&
                            m_items.front().message.type == MessageType::Paint;
    if (!m_items.empty() && !onlyAPaint) {
        return false;
    }
    if (onlyAPaint) {
        m_items.pop_front();
        m_paintQueued = false;
    }
    m_invalid = unite(m_invalid, rect);
    m_paintAsked = true;
    return true;
}

Rect MessageQueue::takeInvalidRect() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_paintAsked = false;
    return std::exchange(m_invalid, Rect{});
}

bool MessageQueue::take(Item& item) {
    std::lock_guard<std::mutex> guard(m_lock);
    while (!m_items.empty()) {
        item = std::move(m_items.front());
        m_items.pop_front();
        const bool isPaint = item.kind == Item::Kind::Message && item.message.type == MessageType::Paint;
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
void MessageQueue::waitForItem(uint64_t deadline) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_items.empty()) {
            return;
        }
    }
    m_clock.waitForWake(Clock::Role::kWindow, deadline);
}

void MessageQueue::push(Item item) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_items.push_back(std::move(item));
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
