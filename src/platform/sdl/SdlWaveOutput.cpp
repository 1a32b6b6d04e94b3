// The wave output on SDL audio.
#include "platform/sdl/SdlWaveOutput.h"

namespace vornel {
namespace {

constexpr int kSamplesPerCallback = 256;  // 32 ms at 8000 Hz: short enough to keep up with
                                          // the player's 250 ms buffers

bool isPlayableFormat(const WaveFormat& format) {
    return format.formatTag == 1 && format.channels == 1 && format.samplesPerSecond == 8000 && format.bitsPerSample == 16;
}

}  // namespace

SdlWaveOutput::SdlWaveOutput(const DeviceClock& clock, WavRecorder* recorder) : m_clock(clock), m_recorder(recorder) {
    m_finished.reserve(8);
}

SdlWaveOutput::~SdlWaveOutput() {
    close();
}

bool SdlWaveOutput::open(const WaveFormat& format, Callback callback, void* context) {
    if (m_device != 0 || !isPlayableFormat(format) || SDL_WasInit(SDL_INIT_AUDIO) == 0) {
        return false;
    }
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = 8000;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = kSamplesPerCallback;
    wanted.callback = fillFromSdl;
    wanted.userdata = this;
    m_callback = callback;
    m_context = context;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_played = 0;
        if (m_recorder != nullptr) {
            // The recording's timeline is device time since launch.
            const uint64_t now = m_clock.microseconds() / 125;
            if (now > m_recorder->samplesWritten()) {
                m_recorder->appendSilence(now - m_recorder->samplesWritten());
            }
        }
    }
    SDL_AudioSpec obtained;
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);  // SDL converts
    if (m_device == 0) {
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

bool SdlWaveOutput::prepareHeader(WaveHeader& header) {
    header.flags.fetch_or(WaveHeader::kPrepared);
    return true;
}

bool SdlWaveOutput::write(WaveHeader& header) {
    if (m_device == 0 || (header.flags.load() & WaveHeader::kPrepared) == 0 ||
        (header.data == nullptr && header.bufferLength > 0)) {
        return false;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    header.flags.fetch_and(~WaveHeader::kDone);
    header.flags.fetch_or(WaveHeader::kInQueue);
    m_queue.push(header);
    return true;
}

uint32_t SdlWaveOutput::position() {
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<uint32_t>(m_played);
}

void SdlWaveOutput::reset() {
    std::vector<WaveHeader*> handedBack;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        handedBack = m_queue.takeAll();
    }
    complete(handedBack);
}

bool SdlWaveOutput::unprepareHeader(WaveHeader& header) {
    if ((header.flags.load() & WaveHeader::kInQueue) != 0) {
        return false;
    }
    header.flags.fetch_and(~WaveHeader::kPrepared);
    return true;
}

// Closing waits for the audio thread to leave the callback; the lock is not held then,
// because the callback may be waiting for it.
void SdlWaveOutput::close() {
    if (m_device == 0) {
        return;
    }
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
    std::lock_guard<std::mutex> guard(m_lock);
    for (WaveHeader* header : m_queue.takeAll()) {
        header->flags.fetch_and(~WaveHeader::kInQueue);
        header->flags.fetch_or(WaveHeader::kDone);
    }
}

void SDLCALL SdlWaveOutput::fillFromSdl(void* self, Uint8* stream, int length) {
    static_cast<SdlWaveOutput*>(self)->fill(reinterpret_cast<int16_t*>(stream), static_cast<std::size_t>(length) / 2);
}

void SdlWaveOutput::fill(int16_t* samples, std::size_t count) {
    m_finished.clear();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_played += m_queue.play(samples, count, m_finished);
        if (m_recorder != nullptr) {
            m_recorder->appendSamples(samples, count);
        }
    }
    complete(m_finished);  // the callback writes the next buffer, which takes the lock
}

void SdlWaveOutput::complete(const std::vector<WaveHeader*>& headers) {
    for (WaveHeader* header : headers) {
        WaveQueue::complete(*header, m_callback, m_context);
    }
}

}  // namespace vornel
