// Recording and playing back the game thread's outside values.
#include "demo/DemoTape.h"

#include "demo/DemoFormat.h"

namespace vornel {

DemoTape::DemoTape(const DemoReader& reader)
    : m_mode(Mode::kPlaying),
      m_reader(&reader),
      m_wholeFrames(reader.header().formatVersion < DemoHeader::kFirstChangesHashVersion) {
    loadFrame();
}

int32_t DemoTape::pass(uint8_t kind, int32_t live) {
    if (m_mode == Mode::kRecording) {
        m_writer->record(kind, live);
        return live;
    }
    int32_t recorded = 0;
    if (passRecorded(kind, recorded)) {
        return recorded;
    }
    return kind == demo::kOpen ? 0 : live;
}

bool DemoTape::passRecorded(uint8_t kind, int32_t& recorded) {
    if (!m_ended && m_interrupted.load(std::memory_order_relaxed)) {
        end("the window was closed in frame " + std::to_string(m_frames + 1));
    }
    if (!m_ended) {
        if (m_next >= m_frame.size()) {
            loseStep("a read of kind " + std::to_string(kind) + " past the recorded values");
        } else if (m_frame[m_next].kind != kind) {
            loseStep("a read of kind " + std::to_string(kind) + " where kind " +
                     std::to_string(m_frame[m_next].kind) + " was recorded");
        } else {
            recorded = m_frame[m_next++].value;
            if (kind == m_watchedKind && recorded != m_watchedValue) {
                m_watchedValue = recorded;
                m_onWatchedChange(recorded);
            }
            return true;
        }
    }
    return false;
}

void DemoTape::watch(uint8_t kind, std::function<void(int32_t)> onChange) {
    m_watchedKind = kind;
    m_watchedValue = 0;
    m_onWatchedChange = std::move(onChange);
}

bool DemoTape::endFrame(uint32_t frameHash) {
    m_checksum = frames::fold(m_checksum, frameHash);
    if (m_mode == Mode::kRecording) {
        ++m_frames;
        m_writer->endFrame();
        return true;
    }
    if (!m_ended && m_next != m_frame.size()) {
        loseStep(std::to_string(m_frame.size() - m_next) + " recorded values left unread");
    }
    if (++m_frames == 1) {
        m_firstFrameEnded = std::chrono::steady_clock::now();
    }
    if (m_ended) {
        return false;
    }
    if (m_frames >= m_reader->frameCount()) {
        end("the recording has no frame " + std::to_string(m_frames + 1));
        return false;
    }
    loadFrame();
    if (m_pace != nullptr) {
        m_pace->frameEnded(static_cast<uint32_t>(m_frames));
    }
    return true;
}

void DemoTape::rewind() {
    m_frames = 0;
    m_checksum = frames::kChecksumBasis;
    m_ended = false;
    m_endReason.clear();
    m_stepLost.clear();
    m_interrupted.store(false);
    m_watchedValue = 0;
    loadFrame();
}

bool DemoTape::finishRecording(std::string& error) {
    m_writer->endFrame();
    return m_writer->finish(m_checksum, error);
}

bool DemoTape::playedWhole(std::string& why) const {
    if (!m_stepLost.empty()) {
        why = m_stepLost;
    } else if (m_ended) {
        why = m_endReason;
    } else if (m_frames + 1 != m_reader->frameCount() || m_next != m_frame.size()) {
        why = "the game ended in frame " + std::to_string(m_frames + 1) + " of the recording's " +
              std::to_string(m_reader->frameCount());
    } else {
        return true;
    }
    return false;
}

void DemoTape::loadFrame() {
    m_frame = m_reader->frame(m_frames);
    m_next = 0;
}

void DemoTape::loseStep(const std::string& why) {
    m_stepLost = "the game left the recording in frame " + std::to_string(m_frames + 1) + ": " + why;
    end(m_stepLost);
}

void DemoTape::end(const std::string& why) {
    m_ended = true;
    m_endReason = why;
}

}  // namespace vornel
