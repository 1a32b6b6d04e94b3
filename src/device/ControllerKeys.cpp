// Held controller buttons as key-downs, repeats and key-ups.
#include "device/ControllerKeys.h"

#include <algorithm>

#include "platform/VirtualKey.h"

namespace vornel {
namespace {

// Milliseconds from now to then on a clock that wraps; negative when then has passed.
int32_t millisecondsUntil(uint32_t then, uint32_t now) {
    return static_cast<int32_t>(then - now);
}

}  // namespace

ControllerKeys::KeyChanges ControllerKeys::press(int32_t controller, int32_t button, int32_t virtualKey,
                                                 uint32_t nowMs) {
    const Hold hold{controller, button, virtualKey};
    const auto same = [&](const Hold& held) { return held.controller == controller && held.button == button; };
    if (std::none_of(m_holds.begin(), m_holds.end(), same)) {
        m_holds.push_back(hold);
    }
    if (!VirtualKey::sendsOnlyKeyUp(virtualKey)) {
        m_repeating = hold;
        m_nextRepeatMs = nowMs + kRepeatDelayMs;
    }
    return {{virtualKey, true}};
}

ControllerKeys::KeyChanges ControllerKeys::release(int32_t controller, int32_t button) {
    return releaseWhere([&](const Hold& held) { return held.controller == controller && held.button == button; },
                        false);
}

ControllerKeys::KeyChanges ControllerKeys::releaseController(int32_t controller) {
    return releaseWhere([&](const Hold& held) { return held.controller == controller; }, true);
}

ControllerKeys::KeyChanges ControllerKeys::releaseAll() {
    return releaseWhere([](const Hold&) { return true; }, true);
}

bool ControllerKeys::isHeld(int32_t controller, int32_t button) const {
    return std::any_of(m_holds.begin(), m_holds.end(),
                       [&](const Hold& held) { return held.controller == controller && held.button == button; });
}

template <typename Matches>
ControllerKeys::KeyChanges ControllerKeys::releaseWhere(Matches matches, bool forced) {
    std::vector<Hold> released;
    std::vector<Hold> kept;
    for (const Hold& held : m_holds) {
        (matches(held) ? released : kept).push_back(held);
    }
    m_holds = std::move(kept);
    if (m_repeating && matches(*m_repeating)) {
        m_repeating.reset();
    }
    KeyChanges changes;
    for (const Hold& held : released) {
        const KeyChange up{held.virtualKey, false};
        const bool told = std::find(changes.begin(), changes.end(), up) != changes.end();
        const bool wouldPress = forced && VirtualKey::sendsOnlyKeyUp(held.virtualKey);
        if (!told && !wouldPress && !isKeyHeld(held.virtualKey)) {
            changes.push_back(up);
        }
    }
    return changes;
}

bool ControllerKeys::isKeyHeld(int32_t virtualKey) const {
    return std::any_of(m_holds.begin(), m_holds.end(), [&](const Hold& held) { return held.virtualKey == virtualKey; });
}

ControllerKeys::KeyChanges ControllerKeys::repeatsDue(uint32_t nowMs) {
    if (!m_repeating || millisecondsUntil(m_nextRepeatMs, nowMs) > 0) {
        return {};
    }
    m_nextRepeatMs = nowMs + kRepeatIntervalMs;
    return {{m_repeating->virtualKey, true}};
}

int32_t ControllerKeys::msUntilRepeat(uint32_t nowMs) const {
    if (!m_repeating) {
        return -1;
    }
    return std::max(millisecondsUntil(m_nextRepeatMs, nowMs), 0);
}

}  // namespace vornel
