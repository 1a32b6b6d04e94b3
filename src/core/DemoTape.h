// The values a game thread takes from outside, on tape: recording, each value it reads goes
// into the current frame of a demo file; playing back, it gets the recorded values instead,
// in the same order. A read whose kind is not the one recorded next, or a frame that ends
// with recorded values left, means the game went another way than the recording: the tape
// then says so and hands out the live values from there on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/DemoReader.h"
#include "core/DemoWriter.h"

namespace vornel {

class DemoTape final {
public:
    enum class Mode { kRecording, kPlaying };

    // Records into the writer, which must be open and outlive the tape.
    explicit DemoTape(DemoWriter& writer) : m_mode(Mode::kRecording), m_writer(&writer) {}
    // Plays the reader's frames back; the reader must outlive the tape.
    explicit DemoTape(const DemoReader& reader);

    Mode mode() const { return m_mode; }

    // The value the game reads: recording, the live value, written down; playing back, the
    // recorded one (the live value once the tape has run out or lost step).
    int32_t pass(uint8_t kind, int32_t live);
    // The game's frame ends with the frame's hash, which goes into the checksum of the
    // session: recording, the frame is written; playing back, the next frame's values come
    // up. Answers false once a played-back tape has no frame left.
    bool endFrame(uint32_t frameHash);
    // The checksum of every frame ended so far.
    uint32_t checksum() const { return m_checksum; }

    // Playing back: whether every read so far got a recorded value of its kind and every
    // frame used up its values; otherwise where the game left the recording.
    bool inStep() const { return m_inStep; }
    const std::string& stepLost() const { return m_stepLost; }
    // Frames ended so far.
    std::size_t frames() const { return m_frames; }

private:
    void loseStep(const std::string& why);
    void loadFrame();

    Mode m_mode;
    DemoWriter* m_writer = nullptr;
    const DemoReader* m_reader = nullptr;
    std::vector<DemoRecord> m_frame;  // playing back: the current frame's records
    std::size_t m_next = 0;           // the next of them to hand out
    std::size_t m_frames = 0;
    uint32_t m_checksum = 2166136261u;  // FNV-1a's offset basis
    bool m_inStep = true;
    std::string m_stepLost;
};

}  // namespace vornel
