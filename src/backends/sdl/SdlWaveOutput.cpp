// The wave output on SDL audio.
#include "backends/sdl/SdlWaveOutput.h"

#include <cstdio>

namespace vornel {
namespace {

constexpr int kSamplesPerCallback = 256;  // 32 ms at 8000 Hz: short enough to keep up with
                                          // the player's 250 ms buffers
constexpr uint64_t kMicrosecondsPerSample = 125;

bool isPlayableFormat(const WaveFormat& format) {
    return format.formatTag == 1 && format.channels == 1 && format.samplesPerSecond == 8000 && format.bitsPerSample == 16;
}

}  // namespace

SdlWaveOutput::SdlWaveOutput(Clock& clock, AudioTap* recorder) : m_clock(clock), m_recorder(recorder) {
    m_finished.reserve(8);
}

SdlWaveOutput::~SdlWaveOutput() {
    close();
}

bool SdlWaveOutput::open(const WaveFormat& format, Callback callback, void* context) {
    if (!isPlayableFormat(format) || SDL_WasInit(SDL_INIT_AUDIO) == 0) {
        return false;
    }
    lockDevice();
    bool opened = false;
    if (m_device.load() == 0) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_listener = {callback, context};
            m_played = 0;
            padRecordingToNow();
        }
        const SDL_AudioDeviceID device = openSdlDevice();
        if (device != 0) {
            m_device.store(device);
            m_paused = true;  // as SDL opens it; the first write resumes it
            std::lock_guard<std::mutex> guard(m_lock);
            m_accepting = true;
            opened = true;
        }
    }
    unlockDevice();
    checkPauseWhenFree();
    return opened;
}

SDL_AudioDeviceID SdlWaveOutput::openSdlDevice() {
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = 8000;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = kSamplesPerCallback;
    wanted.callback = fillFromSdl;
    wanted.userdata = this;
    SDL_AudioSpec obtained;
    return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);  // the default device; SDL converts
}

bool SdlWaveOutput::prepareHeader(WaveHeader& header) {
    header.flags.fetch_or(WaveHeader::kPrepared);
    return true;
}

bool SdlWaveOutput::write(WaveHeader& header) {
    if ((header.flags.load() & WaveHeader::kPrepared) == 0 || (header.data == nullptr && header.bufferLength > 0)) {
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_accepting) {
            return false;
        }
        header.flags.fetch_and(~WaveHeader::kDone);
        header.flags.fetch_or(WaveHeader::kInQueue);
        m_queue.push(header);
    }
    m_pauseChecksWanted.fetch_add(1);
    checkPauseWhenFree();  // resumes a device paused for want of buffers
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
    complete(handedBack, listener());
    m_pauseChecksWanted.fetch_add(1);
    checkPauseWhenFree();
}

bool SdlWaveOutput::unprepareHeader(WaveHeader& header) {
    if ((header.flags.load() & WaveHeader::kInQueue) != 0) {
        return false;
    }
    header.flags.fetch_and(~WaveHeader::kPrepared);
    return true;
}

// Closing waits for the audio thread to leave fill; m_lock is not held then, because fill
// may be waiting for it.
void SdlWaveOutput::close() {
    lockDevice();
    const SDL_AudioDeviceID device = m_device.exchange(0);
    if (device != 0) {
        SDL_CloseAudioDevice(device);
    }
    m_paused = true;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_accepting = false;
        padRecordingToNow();
        for (WaveHeader* header : m_queue.takeAll()) {
            header->flags.fetch_and(~WaveHeader::kInQueue);
            header->flags.fetch_or(WaveHeader::kDone);
        }
    }
    unlockDevice();
}

// ---- Focus and devices coming and going (window thread) ----

void SdlWaveOutput::setForeground(bool foreground) {
    m_foreground.store(foreground);
    m_pauseChecksWanted.fetch_add(1);
    checkPauseWhenFree();
}

// The queue stays as it is and plays on the default device, which SDL opens in the removed
// device's place when there is another one.
void SdlWaveOutput::deviceRemoved(SDL_AudioDeviceID device) {
    lockDevice();
    if (device == 0 || device != m_device.load()) {
        unlockDevice();
        return;
    }
    SDL_CloseAudioDevice(device);
    const SDL_AudioDeviceID replacement = openSdlDevice();
    m_device.store(replacement);
    m_paused = true;
    applyPauseState();
    std::vector<WaveHeader*> handedBack;
    if (replacement == 0) {
        std::fprintf(stderr, "vornel: the sound device is gone and no other opens (%s); the game goes on without sound\n",
                     SDL_GetError());
        std::lock_guard<std::mutex> guard(m_lock);
        m_accepting = false;  // the player's stall check tries the device again later
        handedBack = m_queue.takeAll();
    }
    unlockDevice();
    complete(handedBack, listener());  // no one waits for buffers that will never play
    checkPauseWhenFree();
}

// ---- Pausing ----

void SdlWaveOutput::lockDevice() {
    while (m_deviceBusy.test_and_set()) {
        m_deviceBusy.wait(true);
    }
}

bool SdlWaveOutput::tryLockDevice() {
    return !m_deviceBusy.test_and_set();
}

void SdlWaveOutput::unlockDevice() {
    m_deviceBusy.clear();
    m_deviceBusy.notify_all();
}

// A check wanted while another thread holds m_deviceBusy is left to that thread: the count is
// raised before the flag is tried and read again after it is cleared, all in one total order,
// so one of the two threads always sees the other's change.
void SdlWaveOutput::checkPauseWhenFree() {
    while (m_pauseChecksWanted.load() > 0 && tryLockDevice()) {
        m_pauseChecksWanted.store(0);
        applyPauseState();
        unlockDevice();
    }
}

void SdlWaveOutput::applyPauseState() {
    const SDL_AudioDeviceID device = m_device.load();
    if (device == 0) {
        return;
    }
    bool idle = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        idle = m_queue.empty();
        if (!idle && m_paused && m_foreground.load()) {
            padRecordingToNow();  // the recording's timeline goes on through the pause
        }
    }
    const bool pause = idle || !m_foreground.load();
    if (pause != m_paused) {
        m_paused = pause;
        SDL_PauseAudioDevice(device, pause ? 1 : 0);
    }
}

void SdlWaveOutput::padRecordingToNow() {
    if (m_recorder != nullptr) {
        // The recording's timeline is device time since launch.
        const uint64_t now = m_clock.microseconds() / kMicrosecondsPerSample;
        if (now > m_recorder->samplesWritten()) {
            m_recorder->appendSilence(now - m_recorder->samplesWritten());
        }
    }
}

// ---- Playing (audio thread) ----

void SDLCALL SdlWaveOutput::fillFromSdl(void* self, Uint8* stream, int length) {
    static_cast<SdlWaveOutput*>(self)->fill(reinterpret_cast<int16_t*>(stream), static_cast<std::size_t>(length) / 2);
}

void SdlWaveOutput::fill(int16_t* samples, std::size_t count) {
    m_finished.clear();
    bool drained = false;
    Listener who;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_played += m_queue.play(samples, count, m_finished);
        if (m_recorder != nullptr) {
            m_recorder->appendSamples(samples, count);
        }
        drained = m_queue.empty();
        who = m_listener;
    }
    complete(m_finished, who);  // the callback writes the next buffer, which takes the lock
    if (drained) {
        m_pauseChecksWanted.fetch_add(1);  // nothing more to play: pause, unless a write came
        checkPauseWhenFree();
    }
}

SdlWaveOutput::Listener SdlWaveOutput::listener() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_listener;
}

void SdlWaveOutput::complete(const std::vector<WaveHeader*>& headers, const Listener& listener) {
    for (WaveHeader* header : headers) {
        WaveQueue::complete(*header, listener.callback, listener.context);
    }
}

}  // namespace vornel
