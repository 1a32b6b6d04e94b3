// The game thread's clock on tape.
#include "demo/TapedClock.h"

namespace vornel {

uint32_t TapedClock::ticks() {
    if (!onTapedThread()) {
        return m_beneath.ticks();
    }
    // Flat out, the clock beneath is read only when the tape has no recorded time to give: in
    // the page each read is a call out to the browser, several a frame.
    int32_t recordedTime = 0;
    if (!m_pacedPlayback && m_tape.mode() == DemoTape::Mode::kPlaying) {
        return m_tape.passRecorded(demo::kTicks, recordedTime) ? static_cast<uint32_t>(recordedTime) : m_beneath.ticks();
    }
    const uint32_t live = m_beneath.ticks();
    const auto recorded = static_cast<uint32_t>(m_tape.pass(demo::kTicks, static_cast<int32_t>(live)));
    if (m_pacedPlayback && m_tape.mode() == DemoTape::Mode::kPlaying) {
        if (m_pace != nullptr) {
            if (const uint32_t hold = m_pace->holdFor(recorded, live); hold > 0) {
                m_beneath.sleep(hold);
            }
        } else {
            holdUntil(recorded, live);
        }
    }
    return recorded;
}

void TapedClock::holdUntil(uint32_t recorded, uint32_t live) {
    if (!m_started) {
        m_started = true;
        m_offset = live - recorded;
        return;
    }
    const auto ahead = static_cast<int32_t>(recorded + m_offset - live);
    if (ahead > 0) {
        m_beneath.sleep(static_cast<uint32_t>(ahead));
    }
}

void TapedClock::sleep(uint32_t milliseconds) {
    if (onTapedThread() && m_tape.mode() == DemoTape::Mode::kPlaying) {
        // The tick reads pace a playback; a timedemo draws flat out.
        if (!m_pacedPlayback || m_pace == nullptr || !m_pace->isSeeking()) {
            m_beneath.yield();
        }
        return;
    }
    m_beneath.sleep(milliseconds);
}

}  // namespace vornel
