// A demo for the whole run: recording the session into a file, or playing one back, paced in
// a window or headless, or flat out as a timedemo. It owns the tape the game thread's reads
// go through, the clock that tapes that thread's ticks, and, playing back, a private save
// folder that holds the settings the recording started from, so that a playback never
// touches the player's own.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "demo/DemoReader.h"
#include "demo/DemoTape.h"
#include "demo/DemoWriter.h"
#include "demo/GameIndex.h"
#include "demo/ReplayPace.h"
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
    // Recording the session as a replay kept in the save folder's shelf (demo/ReplayShelf.h):
    // start() names and creates the file. It stays quiet on stdout, and a replay that cannot
    // be written costs only itself: one line on stderr, once, and the game goes on.
    static std::unique_ptr<DemoSession> keep(const std::string& saveFolder);
    // Playing back, paced, or flat out as a timedemo: reads and checks the demo and makes the
    // private save folder. Null, with a one-line reason, when the demo cannot be read or is
    // refused.
    static std::unique_ptr<DemoSession> play(const std::string& path, bool flatOut, std::string& error);
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;
    ~DemoSession() { removePrivateFolder(); }
    // Playing back: removes the private save folder with what the game saved in it.
    void removePrivateFolder();

    bool isPlaying() const override { return m_kind == Kind::kPlay || m_kind == Kind::kTimedemo; }
    bool runsFlatOut() const override { return m_kind == Kind::kTimedemo; }
    // The file recorded into or played back (a replay's once start() has named it).
    const std::string& path() const { return m_path; }
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
    // finished (and a replay's shelf pruned).
    void gameEnded() override;
    // Recording: the games of the session are indexed in the file as they are played.
    void noteMatch(const MatchMoment& moment) override;
    // The game itself closed the window: its last frames, as recorded, are still to come.
    void gameClosesWindow() override { m_gameClosed.store(true); }
    // The window is going away: unless the game closed it, a playback stops at the game's
    // next read.
    void windowCloses() override;

    void offerRestart(std::function<void()> restart) override;
    void rewind() override;

    // ---- The replay viewer (a paced playback) ----
    // The playback's pace, once attached; null for a recording or a timedemo.
    ReplayPace* pace() { return m_pace.get(); }
    const DemoReader& reader() const { return m_reader; }
    // Before the game starts: the playback runs flat out until that many frames have ended.
    void startAt(uint32_t framesEnded);
    // On the window thread: a fresh game plays from the start, flat out until that many frames
    // have ended (at least 1), then at the viewer's pace; false when the shell offers no
    // restart (the game has not started, or has ended).
    bool restartAt(uint32_t framesEnded);

    // At the end of the run: one line on stdout (see the README), reasons on stderr.
    void report() const;

private:
    enum class Kind { kRecord, kKeep, kPlay, kTimedemo };

    DemoSession(Kind kind, std::string path) : m_kind(kind), m_path(std::move(path)) {}
    bool isRecording() const { return m_kind == Kind::kRecord || m_kind == Kind::kKeep; }
    bool openRecording(const DemoHeader& header, std::string& error);
    void sayReplayLost();
    bool openPlayback(std::string& error);
    bool makePrivateFolder(std::string& error);
    bool writePrivateSettings(std::string& error) const;
    static std::vector<uint8_t> settingsIn(const std::string& saveFolder);
    void reportPlayback() const;
    static void turnLike(EmulatedDevice& device, int32_t recordedSize);

    const Kind m_kind;
    std::string m_path;
    std::string m_saveFolder;  // a replay's
    GameIndex m_games;
    uint32_t m_startAt = 0;        // the viewer's first frame (0: from the start)
    uint32_t m_restartTarget = 0;  // a restart's, on the window thread
    bool m_replayLostSaid = false;
    DemoWriter m_writer;
    DemoReader m_reader;
    std::unique_ptr<DemoTape> m_tape;
    std::unique_ptr<TapedClock> m_clock;
    std::unique_ptr<ReplayPace> m_pace;
    std::mutex m_restartLock;  // the shell offers and takes back its restart on the window thread
    std::function<void()> m_restart;
    std::string m_privateFolder;
    std::atomic<bool> m_gameClosed{false};
    std::atomic<bool> m_gameStarted{false};
    std::atomic<bool> m_gameEnded{false};
    std::string m_recordingError;
    std::chrono::steady_clock::time_point m_ended;
};

}  // namespace vornel
