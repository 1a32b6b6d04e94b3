// The game thread's clock on tape.
#include "core/TapedClock.h"

namespace vornel {

uint32_t TapedClock::ticks() {
    const uint32_t live = m_beneath.ticks();
    if (!onTapedThread()) {
        return live;
    }
    return static_cast<uint32_t>(m_tape.pass(demo::kTicks, static_cast<int32_t>(live)));
}

void TapedClock::sleep(uint32_t milliseconds) {
    if (onTapedThread() && m_tape.mode() == DemoTape::Mode::kPlaying && !m_pacedPlayback) {
        return;
    }
    m_beneath.sleep(milliseconds);
}

}  // namespace vornel
