// Turns and virtual time.
#include "device/VirtualClock.h"

#include <cstdio>

namespace vornel {
namespace {

// The clock and role the calling thread takes part in; a thread takes part in one clock at a time.
thread_local const VirtualClock* t_clock = nullptr;
thread_local int32_t t_role = -1;

const char* const kRoleNames[] = {"script", "window", "audio", "game"};

}  // namespace

VirtualClock::VirtualClock(int32_t speedLimit)
    : m_speedLimit(speedLimit > 0 ? speedLimit : 0), m_launch(std::chrono::steady_clock::now()) {}

int32_t VirtualClock::self() const {
    return t_clock == this ? t_role : kNobody;
}

void VirtualClock::sleep(uint32_t milliseconds) {
    std::unique_lock<std::mutex> lock(m_lock);
    const uint64_t target = m_now.load() + uint64_t{milliseconds} * 1000;
    const int32_t me = self();
    if (me == kNobody) {
        passiveWait(lock, target, kNobody);
    } else if (milliseconds > 0) {
        waitAs(lock, me, target, false);
    }
}

void VirtualClock::enroll(Role role) {
    const auto r = static_cast<int32_t>(role);
    std::lock_guard<std::mutex> guard(m_lock);
    Participant& p = of(r);
    p.state = State::kReady;
    p.rung = false;
    p.deadline = kNever;
    p.awaiting = kNobody;
    if (m_holder == kNobody) {
        handOn();
    }
}

void VirtualClock::attach(Role role) {
    const auto r = static_cast<int32_t>(role);
    std::unique_lock<std::mutex> lock(m_lock);
    if (of(r).state == State::kAbsent) {
        return;  // never enrolled: the thread does not take part
    }
    t_clock = this;
    t_role = r;
    waitForTurn(lock, r);
}

void VirtualClock::leave() {
    const int32_t me = self();
    if (me == kNobody) {
        return;
    }
    t_clock = nullptr;
    t_role = kNobody;
    std::lock_guard<std::mutex> guard(m_lock);
    of(me).state = State::kAbsent;
    of(me).rung = false;
    for (int32_t r = 0; r < static_cast<int32_t>(kRoles); ++r) {
        Participant& p = of(r);
        if (p.state == State::kWaiting && p.awaiting == me) {
            p.state = State::kReady;
        }
    }
    m_moved.notify_all();
    if (m_holder == me) {
        m_holder = kNobody;
        handOn();
    }
}

void VirtualClock::awaitLeft(Role role) {
    const auto target = static_cast<int32_t>(role);
    std::unique_lock<std::mutex> lock(m_lock);
    const int32_t me = self();
    if (me == target) {
        return;
    }
    while (of(target).state != State::kAbsent) {
        if (me == kNobody) {
            m_moved.wait(lock);
        } else {
            waitAs(lock, me, kNever, false, target);
        }
    }
}

void VirtualClock::yield() {
    const int32_t me = self();
    if (me == kNobody) {
        return;
    }
    std::unique_lock<std::mutex> lock(m_lock);
    bool otherReady = false;
    for (int32_t r = 0; r < static_cast<int32_t>(kRoles); ++r) {
        otherReady = otherReady || (r != me && of(r).state == State::kReady);
    }
    if (!otherReady) {
        return;
    }
    of(me).state = State::kReady;
    of(me).yielding = true;
    m_holder = kNobody;
    handOn();
    waitForTurn(lock, me);
}

void VirtualClock::wake(Role role) {
    const auto r = static_cast<int32_t>(role);
    std::lock_guard<std::mutex> guard(m_lock);
    Participant& p = of(r);
    p.rung = true;
    if (p.state == State::kWaiting && p.wakeable) {
        p.state = State::kReady;
    }
    m_moved.notify_all();
    if (m_holder == kNobody) {
        handOn();  // a ring from a thread that does not take part
    }
}

bool VirtualClock::waitForWake(Role role, uint64_t deadline) {
    const auto r = static_cast<int32_t>(role);
    std::unique_lock<std::mutex> lock(m_lock);
    Participant& p = of(r);
    const int32_t me = self();
    if (me != r) {
        passiveWait(lock, deadline, r);
    } else if (!p.rung && deadline > m_now.load()) {
        waitAs(lock, me, deadline, true);
    }
    const bool rung = p.rung;
    p.rung = false;
    return rung;
}

std::chrono::steady_clock::time_point VirtualClock::realTimeOf(uint64_t deviceMicroseconds) {
    if (m_speedLimit == 0) {
        return std::chrono::steady_clock::now();
    }
    return m_launch + std::chrono::microseconds(deviceMicroseconds / static_cast<uint64_t>(m_speedLimit));
}

bool VirtualClock::isPacing() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_holder == kNobody && m_pacing;
}

std::string VirtualClock::describe() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::string text = "device time " + std::to_string(m_now.load() / 1000) + " ms;";
    for (int32_t r = 0; r < static_cast<int32_t>(kRoles); ++r) {
        const Participant& p = of(r);
        text += std::string(" ") + kRoleNames[r] + ": ";
        switch (p.state) {
            case State::kAbsent: text += "not taking part"; break;
            case State::kReady: text += "ready"; break;
            case State::kRunning: text += "running"; break;
            case State::kWaiting:
                if (p.awaiting != kNobody) {
                    text += std::string("waiting for the ") + kRoleNames[p.awaiting] + " thread to end";
                } else {
                    text += p.wakeable ? "waiting for its doorbell" : "sleeping";
                    text += p.deadline == kNever ? "" : " until " + std::to_string(p.deadline / 1000) + " ms";
                }
                break;
        }
        text += r + 1 < static_cast<int32_t>(kRoles) ? "," : "";
    }
    return text;
}

void VirtualClock::waitAs(std::unique_lock<std::mutex>& lock, int32_t me, uint64_t deadline, bool wakeable,
                          int32_t awaiting) {
    Participant& p = of(me);
    p.state = State::kWaiting;
    p.deadline = deadline;
    p.wakeable = wakeable;
    p.awaiting = awaiting;
    m_holder = kNobody;
    handOn();
    waitForTurn(lock, me);
    p.deadline = kNever;
    p.wakeable = false;
    p.awaiting = kNobody;
}

void VirtualClock::handOn() {
    do {
        for (const bool yielding : {false, true}) {
            for (int32_t r = 0; r < static_cast<int32_t>(kRoles); ++r) {
                if (of(r).state == State::kReady && of(r).yielding == yielding) {
                    giveTurnTo(r);
                    return;
                }
            }
        }
    } while (stepTime());
}

void VirtualClock::giveTurnTo(int32_t role) {
    m_pacing = false;
    m_holder = role;
    of(role).state = State::kRunning;
    of(role).yielding = false;
    m_progress.fetch_add(1, std::memory_order_relaxed);
    of(role).turn.notify_one();
}

bool VirtualClock::stepTime() {
    uint64_t next = kNever;
    for (const Participant& p : m_participants) {
        if (p.state == State::kWaiting && p.deadline < next) {
            next = p.deadline;
        }
    }
    if (next == kNever) {
        return false;  // everyone waits for a ring: only a thread that does not take part can give one
    }
    if (m_speedLimit > 0) {
        const auto due = realTimeOf(next);
        if (std::chrono::steady_clock::now() < due) {
            // Whoever waits for a turn watches the time; the first to see it come moves on.
            m_pacing = true;
            m_pacedUntil = due;
            for (Participant& p : m_participants) {
                p.turn.notify_all();
            }
            return false;
        }
    }
    m_pacing = false;
    m_now.store(next, std::memory_order_release);
    m_progress.fetch_add(1, std::memory_order_relaxed);
    for (Participant& p : m_participants) {
        if (p.state == State::kWaiting && p.deadline <= next) {
            p.state = State::kReady;
        }
    }
    m_moved.notify_all();
    return true;
}

void VirtualClock::waitForTurn(std::unique_lock<std::mutex>& lock, int32_t me) {
    Participant& p = of(me);
    while (m_holder != me) {
        if (m_holder == kNobody && m_pacing) {
            if (std::chrono::steady_clock::now() >= m_pacedUntil) {
                m_pacing = false;
                handOn();
            } else {
                p.turn.wait_until(lock, m_pacedUntil);
            }
            continue;
        }
        p.turn.wait(lock);
    }
}

// A thread that does not take part waits for device time (or a ring) without holding it back.
void VirtualClock::passiveWait(std::unique_lock<std::mutex>& lock, uint64_t deadline, int32_t role) {
    m_moved.wait(lock, [this, deadline, role] {
        return m_now.load() >= deadline || (role != kNobody && of(role).rung);
    });
}

}  // namespace vornel
