// Wave output on an SDL audio device: 8000 Hz mono 16-bit, which SDL converts to the
// device's own rate. SDL's audio thread takes the queued buffers sample by sample and hands
// each one back through the callback once it has been taken completely.
//
// The device is paused while no buffer is queued and while the window is in the background,
// so that an idle game costs the audio thread nothing; a write in the foreground resumes it.
// A device that goes away is replaced by the default one, with the queue kept; when none can
// be opened the output goes silent: queued buffers come back as done and writes fail.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/Clock.h"
#include "platform/WaveOutput.h"
#include "device/WaveQueue.h"
#include "device/AudioTap.h"

namespace vornel {

// Threads and locks. The game thread opens, writes, resets and closes; SDL's audio thread
// plays (fill) and, through the callback, writes; the window thread reports focus and device
// removal.
// - m_lock guards the queue, the played count, the recorder and the callback. It is never held
//   while calling SDL: SDL calls fill with the device's own lock held, and fill takes m_lock.
// - m_deviceBusy keeps the SDL calls on the device (open, close, pause, resume) apart, so that
//   a pause decided from an old look at the queue is never applied after a newer one. Open,
//   close and replacement wait for it; pausing and resuming only try it (the audio thread
//   must never wait while SDL's device lock is held). Whoever wants the pause state looked
//   at raises m_pauseChecksWanted first, and every holder looks at it again after letting
//   go, so a write racing with a pause always ends with the device playing.
class SdlWaveOutput final : public WaveOutput {
public:
    // recorder may be null; when given it receives what the device plays, silence included.
    SdlWaveOutput(Clock& clock, AudioTap* recorder);
    ~SdlWaveOutput() override;

    // False when there is no audio device (the game then runs silent).
    bool open(const WaveFormat& format, Callback callback, void* context) override;
    bool prepareHeader(WaveHeader& header) override;
    bool write(WaveHeader& header) override;
    uint32_t position() override;
    void reset() override;
    bool unprepareHeader(WaveHeader& header) override;
    void close() override;

    // Window thread: the window went to the background (false) or came back (true).
    void setForeground(bool foreground);
    // Window thread: SDL reported the output device removed.
    void deviceRemoved(SDL_AudioDeviceID device);
    // The SDL device playing now; 0 while closed or silent.
    SDL_AudioDeviceID sdlDevice() const { return m_device.load(); }

private:
    struct Listener {
        Callback callback = nullptr;
        void* context = nullptr;
    };

    static void SDLCALL fillFromSdl(void* self, Uint8* stream, int length);
    // Audio thread.
    void fill(int16_t* samples, std::size_t count);
    void complete(const std::vector<WaveHeader*>& headers, const Listener& listener);
    Listener listener();

    SDL_AudioDeviceID openSdlDevice();
    void padRecordingToNow();  // the caller holds m_lock

    void lockDevice();
    bool tryLockDevice();
    void unlockDevice();
    void checkPauseWhenFree();
    void applyPauseState();  // the caller holds m_deviceBusy

    Clock& m_clock;
    AudioTap* const m_recorder;
    std::atomic<SDL_AudioDeviceID> m_device{0};
    std::atomic<bool> m_foreground{true};

    std::atomic_flag m_deviceBusy;
    std::atomic<uint32_t> m_pauseChecksWanted{0};
    bool m_paused = true;  // as last told to SDL; under m_deviceBusy

    std::mutex m_lock;
    Listener m_listener;
    bool m_accepting = false;  // open, with a device to play on
    WaveQueue m_queue;
    uint64_t m_played = 0;               // samples taken from buffers since open
    std::vector<WaveHeader*> m_finished;  // audio thread only: reused so that it rarely allocates
};

}  // namespace vornel
