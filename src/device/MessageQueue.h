// The window's message queue: messages posted from any thread, work that must run on the
// window's thread, the quit message, and the window's invalid rectangle, which queues at
// most one Paint however often it grows. Every post rings the window's doorbell on the
// device's clock, which is what the window's thread waits on.
#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "core/Clock.h"
#include "platform/Platform.h"

namespace vornel {

class MessageQueue final {
public:
    struct Item {
        enum class Kind { Message, Action, Quit };
        Kind kind = Kind::Message;
        WindowMessage message;        // Message; for Quit, wParam holds the exit code
        std::function<void()> action;  // Action: runs on the window's thread, not dispatched
    };

    explicit MessageQueue(Clock& clock) : m_clock(clock) {}

    // Called after every post, outside the queue's lock, on the posting thread: a backend
    // that waits for its own events uses it to wake up.
    void setWakeHandler(std::function<void()> wake);

    void post(const WindowMessage& message);
    void postAction(std::function<void()> action);
    void postQuit(int32_t exitCode);

    // Adds the rectangle to the invalid one, queueing a Paint unless one is queued already.
    // An empty rectangle (one that lies outside the window, as a frame drawn for the window's
    // old shape does just after the display turned) still asks for a Paint: whoever asked waits
    // to hear that painting is over, and it is, with nothing to paint.
    void invalidate(const Rect& rect);
    // For a paint in the window's turn: false when anything but a Paint is queued; otherwise
    // the rectangle joins the invalid one and a queued Paint is taken out, since the caller's
    // paint answers it. Rings no doorbell.
    bool invalidateInTurn(const Rect& rect);
    // The invalid rectangle, which becomes empty (valid); every paint asked for so far is
    // answered by the paint that takes it.
    Rect takeInvalidRect();

    // The next item, without waiting; false when none is queued. A Paint whose rectangle
    // has meanwhile been painted, and that no one asked for since, is dropped.
    bool take(Item& item);
    // Window thread: blocks until something is queued or device time reaches the deadline
    // (device microseconds).
    void waitForItem(uint64_t deadline = Clock::kNever);
    // Wakes the window's thread as a post does, with nothing posted: its backend has a reason
    // of its own to look (the game's frame was drawn). Any thread.
    void ring() { wakeWindow(); }

private:
    void push(Item item);
    void wakeWindow();

    Clock& m_clock;
    std::mutex m_lock;
    std::deque<Item> m_items;
    Rect m_invalid;
    bool m_paintQueued = false;
    bool m_paintAsked = false;  // invalidated since the last paint took the invalid rectangle
    std::function<void()> m_wake;  // set before any other thread posts
};

}  // namespace vornel
