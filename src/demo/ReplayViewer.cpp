// The viewer's commands and status.
#include "demo/ReplayViewer.h"

#include <algorithm>

#include "device/SoundGate.h"

namespace vornel {

std::string ReplayViewer::minutesAndSeconds(uint32_t milliseconds) {
    const uint32_t seconds = milliseconds / 1000;
    return std::to_string(seconds / 60) + ":" + (seconds % 60 < 10 ? "0" : "") + std::to_string(seconds % 60);
}

ReplayViewer::ReplayViewer(DemoSession& session) : m_session(session), m_pace(*session.pace()) {
    SoundGate::follow(&m_pace.audible());
}

ReplayViewer::~ReplayViewer() {
    SoundGate::follow(nullptr);
}

void ReplayViewer::command(Command command) {
    switch (command) {
        case Command::kPauseOrResume:
            m_pace.setPaused(!m_pace.isPaused());
            break;
        case Command::kStep:
            m_pace.step();
            break;
        case Command::kSlower:
            m_pace.slower();
            break;
        case Command::kFaster:
            m_pace.faster();
            break;
        case Command::kBack:
            seekTo(frameAt(static_cast<int64_t>(position()) - kSeekMs));
            break;
        case Command::kForward:
            seekTo(frameAt(static_cast<int64_t>(position()) + kSeekMs));
            break;
        case Command::kRestart:
            seekTo(1);
            break;
    }
}

// The recording's last chunk holds the reads after its last frame: no frame ends there.
uint32_t ReplayViewer::lastFrame() const {
    return std::max<uint32_t>(1, static_cast<uint32_t>(m_session.reader().frameCount()) - 1);
}

bool ReplayViewer::seekTo(uint32_t framesEnded) {
    framesEnded = std::clamp<uint32_t>(framesEnded, 1, lastFrame());
    if (framesEnded > m_pace.frames() && !m_pace.isSeeking()) {
        m_pace.seekTo(framesEnded);
        return true;
    }
    return m_session.restartAt(framesEnded);
}

uint32_t ReplayViewer::frameAt(int64_t milliseconds) const {
    const DemoReader& reader = m_session.reader();
    const int64_t wanted = static_cast<int64_t>(reader.ticksAt(0)) + std::max<int64_t>(milliseconds, 0);
    uint32_t low = 0;
    auto high = static_cast<uint32_t>(reader.frameCount());
    while (low < high) {  // the frame times never go back
        const uint32_t middle = low + (high - low) / 2;
        if (static_cast<int64_t>(reader.ticksAt(middle)) < wanted) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low + 1;
}

uint32_t ReplayViewer::position() const {
    const uint32_t frames = m_pace.frames();
    return frames == 0 ? 0 : m_session.reader().ticksAt(frames - 1) - m_session.reader().ticksAt(0);
}

std::string ReplayViewer::speedName(int32_t eighths) {
    if (eighths >= ReplayPace::kNormalEighths) {
        return std::to_string(eighths / ReplayPace::kNormalEighths) + "x";
    }
    return "1/" + std::to_string(ReplayPace::kNormalEighths / eighths) + "x";
}

ReplayViewer::State ReplayViewer::state() const {
    return {m_pace.frames(),        lastFrame(),         position(),         m_session.reader().length(),
            m_pace.speedEighths(), m_pace.isPaused(), m_pace.isSeeking()};
}

std::string ReplayViewer::status() const {
    const State now = state();
    std::string text = minutesAndSeconds(now.positionMs) + " / " + minutesAndSeconds(now.lengthMs) + ", ";
    if (now.seeking) {
        return text + "seeking";
    }
    text += speedName(now.speedEighths);
    return now.paused ? text + ", paused" : text;
}

}  // namespace vornel
