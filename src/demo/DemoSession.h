// A demo for the whole run: recording the session into a file, or playing one back, paced in
// a window or headless, or flat out as a timedemo. It owns the tape the game thread's reads
// go through, the clock that tapes that thread's ticks, and, playing back, a private save
// folder that holds the settings the recording started from, so that a playback never
// touches the player's own.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "demo/DemoReader.h"
#include "demo/DemoTape.h"
#include "demo/DemoWriter.h"
#include "demo/SessionTape.h"
#include "demo/TapedClock.h"
#include "core/Version.h"
#include "device/EmulatedDevice.h"

namespace vornel {

class DemoSession final : public SessionTape {
public:
    static constexpr const char* kGameVersion = kVersion;

    // Recording: only remembers the file; start() creates it.
    static std::unique_ptr<DemoSession> record(const std::string& path);
    // Playing back, paced, or flat out as a timedemo: reads and checks the demo and makes the
    // private save folder. Null, with a one-line reason, when the demo cannot be read or is
    // refused.
    static std::unique_ptr<DemoSession> play(const std::string& path, bool flatOut, std::string& error);
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;
    ~DemoSession() { removePrivateFolder(); }
    // Playing back: removes the private save folder with what the game saved in it.
    void removePrivateFolder();

    bool isPlaying() const override { return m_kind != Kind::kRecord; }
    // The device the demo was recorded on (playing back).
    const std::string& profile() const { return m_reader.header().profile; }
    // Playing back: the private folder the game saves in.
    const std::string& privateSaveFolder() const { return m_privateFolder; }

    // Recording: creates the file with the header (the device, the seed given, the settings
    // file as it is in saveFolder now). Both: seeds the game's random numbers (playing back,
    // with the recording's seed). False, with a one-line reason, when the file cannot be made.
    bool start(const std::string& profile, const std::string& saveFolder, uint32_t recordingSeed, std::string& error);
    // Puts the taped clock over the device's; playing back, the device's display turns when
    // the recording's did.
    void attach(EmulatedDevice& device);
    // The clock every thread of the run reads, once attached: the device's, with the taped
    // thread's reads through the tape.
    Clock& clock() { return *m_clock; }

    DemoTape& tape() override { return *m_tape; }
    // Frames ended so far (0 before a recording has started); on the game thread.
    std::size_t frames() const { return m_tape ? m_tape->frames() : 0; }
    // The calling thread's tick reads go through the tape from now on (and no other's).
    void tapeThisThread() override { m_clock->tapeThisThread(); }
    // On the game thread, first thing: it becomes the taped thread.
    void gameStarts() override;
    // On the game thread, when its run has returned: untapes it; recording, the file is
    // finished.
    void gameEnded() override;
    // The game itself closed the window: its last frames, as recorded, are still to come.
    void gameClosesWindow() override { m_gameClosed.store(true); }
    // The window is going away: unless the game closed it, a playback stops at the game's
    // next read.
    void windowCloses() override;

    // At the end of the run: one line on stdout (see the README), reasons on stderr.
    void report() const;

private:
    enum class Kind { kRecord, kPlay, kTimedemo };

    DemoSession(Kind kind, std::string path) : m_kind(kind), m_path(std::move(path)) {}
    bool openPlayback(std::string& error);
    bool makePrivateFolder(std::string& error);
    static std::vector<uint8_t> settingsIn(const std::string& saveFolder);
    void reportPlayback() const;
    static void turnLike(EmulatedDevice& device, int32_t recordedSize);

    const Kind m_kind;
    const std::string m_path;
    DemoWriter m_writer;
    DemoReader m_reader;
    std::unique_ptr<DemoTape> m_tape;
    std::unique_ptr<TapedClock> m_clock;
    std::string m_privateFolder;
    std::atomic<bool> m_gameClosed{false};
    std::atomic<bool> m_gameStarted{false};
    std::atomic<bool> m_gameEnded{false};
    std::string m_recordingError;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_ended;
};

}  // namespace vornel
