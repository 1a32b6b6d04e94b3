// Wave output on an SDL audio device: 8000 Hz mono 16-bit, which SDL converts to the
// device's own rate. SDL's audio thread takes the queued buffers sample by sample and hands
// each one back through the callback once it has been taken completely.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/DeviceClock.h"
#include "platform/WaveOutput.h"
#include "platform/WaveQueue.h"
#include "platform/WavRecorder.h"

namespace vornel {

class SdlWaveOutput final : public WaveOutput {
public:
    // recorder may be null; when given it receives what the device plays, silence included.
    SdlWaveOutput(const DeviceClock& clock, WavRecorder* recorder);
    ~SdlWaveOutput() override;

    // False when there is no audio device (the game then runs silent).
    bool open(const WaveFormat& format, Callback callback, void* context) override;
    bool prepareHeader(WaveHeader& header) override;
    bool write(WaveHeader& header) override;
    uint32_t position() override;
    void reset() override;
    bool unprepareHeader(WaveHeader& header) override;
    void close() override;

private:
    static void SDLCALL fillFromSdl(void* self, Uint8* stream, int length);
    // Audio thread.
    void fill(int16_t* samples, std::size_t count);
    void complete(const std::vector<WaveHeader*>& headers);

    const DeviceClock& m_clock;
    WavRecorder* const m_recorder;
    SDL_AudioDeviceID m_device = 0;
    Callback m_callback = nullptr;
    void* m_context = nullptr;

    std::mutex m_lock;  // guards the queue, the count and the recorder; never held in callbacks
    WaveQueue m_queue;
    uint64_t m_played = 0;               // samples taken from buffers since open
    std::vector<WaveHeader*> m_finished;  // audio thread only: reused so that it rarely allocates
};

}  // namespace vornel
