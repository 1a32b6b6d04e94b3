// Sleeping in the browser.
#include "backends/web/WebClock.h"

#include <emscripten.h>

namespace vornel {

void WebClock::sleep(uint32_t milliseconds) {
    m_pump();
    // Device time may run faster than real time; a wait of no real time still yields once.
    emscripten_sleep(milliseconds / static_cast<uint32_t>(m_speed));
}

}  // namespace vornel
