// Sleeping in the browser.
#include "backends/web/WebClock.h"

#include <emscripten.h>

#include <algorithm>

namespace vornel {

// A poll for a paint that the pump has just made is over: a turn of the page would only hold
// the frame up, by 4 ms or more (the least delay of a timer set from a timer), for every
// rectangle the game shows.
void WebClock::sleep(uint32_t milliseconds) {
    if (m_pump() && milliseconds <= kPaintPollMs) {
        return;
    }
    // Device time may run faster than real time; a wait of no real time still yields once.
    const uint32_t realMilliseconds = milliseconds / static_cast<uint32_t>(m_speed);
    m_show(realMilliseconds > 0);
    emscripten_sleep(realMilliseconds);
    // What the page took in meanwhile (a key, the pen) reaches the window before the game goes
    // on, as the handheld's window thread would have handled it at once: else the frame about
    // to begin would not see it, and every key would wait one frame (32 ms) more.
    m_pump();
}

bool WebClock::waitForWake(Role, uint64_t deadline) {
    constexpr uint64_t kLongestLookUs = 10000;
    const uint64_t now = microseconds();
    const uint64_t wait = deadline > now ? std::min(deadline - now, kLongestLookUs) : 0;
    sleep(static_cast<uint32_t>(wait / 1000));
    return false;
}

}  // namespace vornel
