// The values a game thread takes from outside, on tape: recording, each value it reads goes
// into the current frame of a demo file; playing back, it gets the recorded values instead,
// in the same order.
//
// A playback ends early when the game reads otherwise than the recording (a read of another
// kind, or a frame that leaves recorded values unread: the game lost step), when it draws
// more frames than were recorded (a recording cut short ends there), or when the viewer
// closes the window. From then on the game gets the live values, except that the window reads
// as closed, so that the game's run ends at its next look.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "demo/DemoReader.h"
#include "demo/DemoWriter.h"
#include "demo/InputTape.h"
#include "demo/ReplayPace.h"
#include "core/FrameHash.h"

namespace vornel {

class DemoTape final : public InputTape {
public:
    enum class Mode { kRecording, kPlaying };

    // Records into the writer, which must be open and outlive the tape.
    explicit DemoTape(DemoWriter& writer) : m_mode(Mode::kRecording), m_writer(&writer) {}
    // Plays the reader's frames back; the reader must outlive the tape.
    explicit DemoTape(const DemoReader& reader);

    Mode mode() const { return m_mode; }

    // The value the game reads: recording, the live value, written down; playing back, the
    // recorded one (see above for a playback that has ended).
    int32_t pass(uint8_t kind, int32_t live) override;
    // Playing back, pass without the live value at hand: true with the recorded value, false
    // when the live one is to be read and used (the playback has ended or lost step).
    bool passRecorded(uint8_t kind, int32_t& recorded);
    // The game's frame ends with the frame's hash, which goes into the checksum of the
    // session: recording, the frame is written; playing back, the next frame's values come
    // up. Answers false once a playback has ended.
    bool endFrame(uint32_t frameHash) override;
    // Playing back a file of the first formats, whose frames were hashed whole.
    bool hashesWholeFrames() const override { return m_wholeFrames; }
    // The checksum of every frame ended so far.
    uint32_t checksum() const { return m_checksum; }
    // Frames ended so far.
    std::size_t frames() const { return m_frames; }
    // Playing back: when the first frame ended (the game's content loaded), in real time.
    std::chrono::steady_clock::time_point firstFrameEnded() const { return m_firstFrameEnded; }

    // Recording: the reads after the last frame (the game's last look at the window, as its
    // run ends) go into one more chunk, then the trailer; false, with the reason, when the
    // file could not be written whole.
    bool finishRecording(std::string& error);
    // Playing back: whether the game read every recorded value, no more and no other, and
    // drew every recorded frame; otherwise why not.
    bool playedWhole(std::string& why) const;

    // Playing back: onChange is called (on the game thread, before the game gets the value)
    // with each new value of the kind that the recording hands out.
    void watch(uint8_t kind, std::function<void(int32_t)> onChange);

    // From any thread: the viewer closed the window, the playback ends at the game's next read.
    void interrupt() { m_interrupted.store(true); }
    // Playing back in the viewer: each frame's end goes by the viewer's pace (which may hold
    // it); set before the game thread starts.
    void setPace(ReplayPace* pace) { m_pace = pace; }
    // Playing back, while no game thread runs: back to the recording's start, for a fresh game.
    void rewind();

    // Whether the game read every value as recorded so far (a playback that ran out of
    // frames or was interrupted is still in step); otherwise where it left the recording.
    bool inStep() const { return m_stepLost.empty(); }
    const std::string& stepLost() const { return m_stepLost; }

private:
    void loseStep(const std::string& why);
    void end(const std::string& why);
    void loadFrame();

    Mode m_mode;
    DemoWriter* m_writer = nullptr;
    const DemoReader* m_reader = nullptr;
    std::vector<DemoRecord> m_frame;  // playing back: the current frame's records
    std::size_t m_next = 0;           // the next of them to hand out
    std::size_t m_frames = 0;
    std::chrono::steady_clock::time_point m_firstFrameEnded;
    uint32_t m_checksum = frames::kChecksumBasis;
    bool m_wholeFrames = false;
    bool m_ended = false;               // playing back: live values from now on
    std::string m_endReason;
    std::string m_stepLost;
    std::atomic<bool> m_interrupted{false};
    ReplayPace* m_pace = nullptr;
    uint8_t m_watchedKind = 0;
    int32_t m_watchedValue = 0;
    std::function<void(int32_t)> m_onWatchedChange;
};

}  // namespace vornel
