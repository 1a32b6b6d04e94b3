// The game's software sound mixer: every sound is loaded from the program folder on first use
// and mixed into two alternating 4000-byte buffers of 8000 Hz mono 16-bit samples, which the
// wave output plays and hands back for refilling.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "media/SoundClip.h"
#include "platform/WaveOutput.h"

namespace vornel {

// Threads. play runs on the game thread and stopSound there or on the first thread at exit;
// fillBuffer runs straight after play and on the wave output's thread whenever a buffer
// comes back. m_busy is the fill lock that keeps them apart:
// - fillBuffer only tries it, so the output's thread never waits for the game thread. Each
//   call first counts one more wanted fill (m_wantedFills); a fill that finds the lock taken
//   returns at once and leaves its wanted fill to the holder, which looks at the count again
//   after letting go. A buffer that comes back while a fill is mixing is thus still refilled
//   rather than lost, which would leave a tune silent until the next sound.
// - play takes it fully around its changes to the list and to a clip's playing state, and
//   stopSound for the whole stop, so no clip or buffer block is freed while a fill is still
//   mixing into or from it. Such a wait lasts at most one fill (2000 samples per clip).
// - The device, the list's links and each clip's playing flag and cursor are written only
//   under it. The links change only under m_control too, so play may walk the list without it.
// It is a flag rather than a std::mutex because a wave output may hand buffers back from
// inside reset, on the very thread that holds the lock during stopSound: trying a std::mutex
// its owner holds is undefined, while the flag just answers "taken".
// m_control keeps play and stopSound apart (the first thread stops the player at exit while
// the game thread may still be asking for sounds); the output's thread never takes it.
class SoundPlayer final {
public:
    static constexpr uint32_t kBufferBytes = 4000;  // 250 ms at 16000 bytes/s
    static constexpr int32_t kHeaderCount = 2;
    // Play requests in a row that find the played position unchanged before the device is
    // taken as stuck and restarted.
    static constexpr int32_t kStallLimit = 5;
    // How long a stop waits for each buffer to come back from the reset: polls 1 ms apart.
    static constexpr int32_t kStopPolls = 10;
    static constexpr WaveFormat kDeviceFormat{.formatTag = 1,  // PCM
                                              .channels = 1,
                                              .samplesPerSecond = 8000,
                                              .bytesPerSecond = 16000,
                                              .blockAlign = 2,
                                              .bitsPerSample = 16};

    SoundPlayer() = default;
    // Stops: closes the device and frees the clips.
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // The player of the process. Never destroyed, so that sounds asked for while the process
    // exits find it still there.
    static SoundPlayer& instance();

    // The output to play on, set by the shell at start-up before any sound; without one
    // nothing plays.
    void setWaveOutput(WaveOutput* output);

    // Plays the sound file program folder + name + ".wav" once from its start. loop is
    // accepted and ignored. A path longer than 259 characters is refused. Answers 1.
    int32_t playSound(const char* name, int32_t loop);
    // Plays the clip of the file at path from its start (restarting it if it plays already),
    // after checking that the device still makes progress; opens the device on first use.
    void play(const std::string& path);
    // Mixes the next 250 ms of every playing clip into a free buffer and queues it.
    void fillBuffer();
    // The wave output's completion callback; context is the player.
    static void waveDone(void* context, uint32_t message, WaveHeader* header);
    // Closes the device and frees every clip; the next play opens and loads again.
    void stopSound();
    // Takes a clip made in memory into the list, newest first, as a load would; a later play
    // of its path plays it.
    void addClip(SoundClip* clip);

    // False for the rest of the run once the device could not be opened.
    bool enabled() const { return m_enabled.load(std::memory_order_relaxed) != 0; }

private:
    void checkForStall();
    void openDevice();
    void closeDevice();
    void stop();
    void freeClips();
    SoundClip* findClip(const std::string& path) const;
    WaveHeader* freeHeader();
    void fillWantedBuffers();
    void fillOneBuffer();
    void mixInto(WaveHeader& header);
    void submit(WaveHeader& header);

    bool tryLockFill();
    void lockFill();
    void unlockFill();

    std::atomic<uint8_t> m_enabled{1};
    SoundClip* m_clips = nullptr;    // newest first
    WaveOutput* m_device = nullptr;  // the open output; null while closed
    std::atomic_flag m_busy;         // the fill lock; set while held
    std::atomic<int32_t> m_wantedFills{0};  // fills asked for and not yet done; lowered under m_busy
    uint32_t m_lastPosition = 0;     // samples played, as seen by the previous play
    int32_t m_stallCount = 0;
    WaveHeader m_headers[kHeaderCount];  // each with its own kBufferBytes block while open
    WaveOutput* m_output = nullptr;      // what the device opens on
    std::mutex m_control;
};

}  // namespace vornel
