// Wave output without a sound device: each written buffer plays for its real length in device
// time (bytes / 2 / 8000 s) on the output's own thread, which then hands it back through the
// callback; that thread takes the audio's turns of a virtual clock while the output is open.
// The game opens the output for every sound, so the thread is made once and waits, outside
// the clock, for the next opening. What plays can be
// recorded, silence included, so that the recording's timeline is device time since launch.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "core/Clock.h"
#include "platform/WaveOutput.h"
#include "device/WaveQueue.h"
#include "device/AudioTap.h"

namespace vornel {

class HeadlessWaveOutput final : public WaveOutput {
public:
    static constexpr uint64_t kMicrosecondsPerSample = 125;  // 8000 samples a second

    // recorder may be null; when given it receives every sample from launch on.
    HeadlessWaveOutput(Clock& clock, AudioTap* recorder);
    ~HeadlessWaveOutput() override;

    bool open(const WaveFormat& format, Callback callback, void* context) override;
    bool prepareHeader(WaveHeader& header) override;
    bool write(WaveHeader& header) override;
    uint32_t position() override;
    void reset() override;
    bool unprepareHeader(WaveHeader& header) override;
    void close() override;

private:
    // The thread's life: one playing session for each opening, until the output goes away.
    void serve();
    void run();
    uint64_t dueSample() { return m_clock.microseconds() / kMicrosecondsPerSample; }
    // Plays (and records) everything up to the sample; the caller holds m_lock.
    void advanceTo(uint64_t sample, std::vector<WaveHeader*>& finished);
    void complete(const std::vector<WaveHeader*>& headers);

    // The end of the buffer playing now, in device microseconds; kNever when none plays.
    uint64_t endOfFirstBuffer() const;

    Clock& m_clock;
    AudioTap* const m_recorder;

    std::mutex m_lock;  // never held while waiting on the clock
    std::thread m_thread;
    std::condition_variable m_opened;  // a session to play, or the output going away
    bool m_open = false;
    bool m_stopping = false;
    bool m_sessionWaiting = false;  // opened, and its session not yet begun on the thread
    bool m_retiring = false;
    Callback m_callback = nullptr;
    void* m_context = nullptr;
    WaveQueue m_queue;
    uint64_t m_timeline = 0;  // device samples since launch played or passed in silence
    uint64_t m_played = 0;    // samples of buffers played since the output was opened
    std::vector<int16_t> m_scratch;
};

}  // namespace vornel
