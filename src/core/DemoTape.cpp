// Recording and playing back the game thread's outside values.
#include "core/DemoTape.h"

namespace vornel {

DemoTape::DemoTape(const DemoReader& reader) : m_mode(Mode::kPlaying), m_reader(&reader) {
    loadFrame();
}

int32_t DemoTape::pass(uint8_t kind, int32_t live) {
    if (m_mode == Mode::kRecording) {
        m_writer->record(kind, live);
        return live;
    }
    if (!m_inStep) {
        return live;
    }
    if (m_next >= m_frame.size()) {
        loseStep("a read of kind " + std::to_string(kind) + " past the recorded values");
        return live;
    }
    const DemoRecord& recorded = m_frame[m_next++];
    if (recorded.kind != kind) {
        loseStep("a read of kind " + std::to_string(kind) + " where kind " + std::to_string(recorded.kind) +
                 " was recorded");
        return live;
    }
    return recorded.value;
}

bool DemoTape::endFrame(uint32_t frameHash) {
    m_checksum = (m_checksum ^ frameHash) * 16777619u;  // FNV-1a's prime, a word at a time
    if (m_mode == Mode::kRecording) {
        m_writer->endFrame();
        ++m_frames;
        return true;
    }
    if (m_inStep && m_next != m_frame.size()) {
        loseStep(std::to_string(m_frame.size() - m_next) + " recorded values left unread");
    }
    ++m_frames;
    loadFrame();
    return m_frames < m_reader->frameCount();
}

void DemoTape::loadFrame() {
    m_frame = m_reader->frame(m_frames);
    m_next = 0;
}

void DemoTape::loseStep(const std::string& why) {
    m_inStep = false;
    m_stepLost = "the game left the recording in frame " + std::to_string(m_frames + 1) + ": " + why;
}

}  // namespace vornel
