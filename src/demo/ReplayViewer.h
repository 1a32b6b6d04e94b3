// The replay viewer: a paced playback watched in a window or the page, with pause, a step of
// one frame, speeds from 1/8 to 16 times, seeks of 5 seconds either way and a restart. A seek
// back (or a restart) plays a fresh game from the recording's start flat out to the frame
// wanted; a seek on runs the game on flat out; either lands on exactly the frame a straight
// playback shows there. Sound is heard at the recorded pace only.
#pragma once

#include <cstdint>
#include <string>

#include "demo/DemoSession.h"
#include "device/ReplayControls.h"

namespace vornel {

class ReplayViewer final : public ReplayControls {
public:
    static constexpr uint32_t kSeekMs = 5000;

    // The session must be a paced playback, attached, and outlive the viewer; the viewer
    // closes the sound gate whenever the pace is not the recorded one.
    explicit ReplayViewer(DemoSession& session);
    ~ReplayViewer();
    ReplayViewer(const ReplayViewer&) = delete;
    ReplayViewer& operator=(const ReplayViewer&) = delete;

    void command(Command command) override;
    std::string status() const override;

    // Where the playback stands, for the page's controls.
    struct State {
        uint32_t frames = 0;     // ended so far
        uint32_t lastFrame = 0;  // the most a seek reaches
        uint32_t positionMs = 0;
        uint32_t lengthMs = 0;
        int32_t speedEighths = ReplayPace::kNormalEighths;
        bool paused = false;
        bool seeking = false;
    };
    State state() const;

    // Plays on from the frame that many frames in (a number of frames ended, from 1), by
    // restarting when it lies behind the game's; false when the game cannot be restarted.
    bool seekTo(uint32_t framesEnded);
    // The frame (frames ended) whose recorded time is the first at or after the moment,
    // milliseconds from the recording's start; within the recording.
    uint32_t frameAt(int64_t milliseconds) const;
    // The recording's time at the position, milliseconds from its start.
    uint32_t position() const;

    static std::string speedName(int32_t eighths);
    static std::string minutesAndSeconds(uint32_t milliseconds);

private:
    uint32_t lastFrame() const;

    DemoSession& m_session;
    ReplayPace& m_pace;
};

}  // namespace vornel
