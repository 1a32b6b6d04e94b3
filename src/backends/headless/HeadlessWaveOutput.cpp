// Timed playback of wave buffers in device time.
#include "backends/headless/HeadlessWaveOutput.h"

#include <algorithm>

namespace vornel {
namespace {

constexpr std::size_t kScratchSamples = 4096;

bool isPlayableFormat(const WaveFormat& format) {
    return format.formatTag == 1 && format.channels == 1 && format.samplesPerSecond == 8000 && format.bitsPerSample == 16;
}

}  // namespace

HeadlessWaveOutput::HeadlessWaveOutput(Clock& clock, AudioTap* recorder)
    : m_clock(clock), m_recorder(recorder), m_scratch(kScratchSamples) {}

HeadlessWaveOutput::~HeadlessWaveOutput() {
    close();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_retiring = true;
    }
    m_opened.notify_one();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool HeadlessWaveOutput::open(const WaveFormat& format, Callback callback, void* context) {
    if (!isPlayableFormat(format)) {
        return false;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_open) {
        return false;
    }
    std::vector<WaveHeader*> none;
    advanceTo(dueSample(), none);  // silence while the output was closed
    m_open = true;
    m_stopping = false;
    m_callback = callback;
    m_context = context;
    m_played = 0;
    m_clock.enroll(Clock::Role::kAudio);
    m_sessionWaiting = true;
    if (!m_thread.joinable()) {
        m_thread = std::thread([this] { serve(); });
    }
    m_opened.notify_one();
    return true;
}

void HeadlessWaveOutput::serve() {
    std::unique_lock<std::mutex> lock(m_lock);
    while (true) {
        m_opened.wait(lock, [this] { return m_sessionWaiting || m_retiring; });
        if (m_retiring) {
            return;
        }
        m_sessionWaiting = false;
        lock.unlock();
        m_clock.attach(Clock::Role::kAudio);
        run();
        m_clock.leave();
        lock.lock();
    }
}

bool HeadlessWaveOutput::prepareHeader(WaveHeader& header) {
    header.flags.fetch_or(WaveHeader::kPrepared);
    return true;
}

bool HeadlessWaveOutput::write(WaveHeader& header) {
    if ((header.flags.load() & WaveHeader::kPrepared) == 0 || (header.data == nullptr && header.bufferLength > 0)) {
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_open) {
            return false;
        }
        if (m_queue.empty()) {
            std::vector<WaveHeader*> none;
            advanceTo(dueSample(), none);  // the buffer starts now, after the silence so far
        }
        header.flags.fetch_and(~WaveHeader::kDone);
        header.flags.fetch_or(WaveHeader::kInQueue);
        m_queue.push(header);
    }
    m_clock.wake(Clock::Role::kAudio);
    return true;
}

// Buffers play back to back while any are queued, so the samples since the last advance
// came from the queue as far as it reaches.
uint32_t HeadlessWaveOutput::position() {
    std::lock_guard<std::mutex> guard(m_lock);
    const uint64_t due = dueSample();
    const uint64_t since = due > m_timeline ? due - m_timeline : 0;
    return static_cast<uint32_t>(m_played + std::min(since, m_queue.queuedSamples()));
}

void HeadlessWaveOutput::reset() {
    std::vector<WaveHeader*> handedBack;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        advanceTo(dueSample(), handedBack);
        for (WaveHeader* header : m_queue.takeAll()) {
            handedBack.push_back(header);
        }
    }
    complete(handedBack);
}

bool HeadlessWaveOutput::unprepareHeader(WaveHeader& header) {
    if ((header.flags.load() & WaveHeader::kInQueue) != 0) {
        return false;  // still playing
    }
    header.flags.fetch_and(~WaveHeader::kPrepared);
    return true;
}

// Closing also brings the recording up to now, so that it lasts as long as the run even when
// the output was closed (or never opened) at the end.
void HeadlessWaveOutput::close() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_open) {
            std::vector<WaveHeader*> none;
            advanceTo(dueSample(), none);
            return;
        }
        m_stopping = true;
    }
    m_clock.wake(Clock::Role::kAudio);
    m_clock.awaitLeft(Clock::Role::kAudio);  // the session has ended; the thread waits for the next
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<WaveHeader*> finished;
    advanceTo(dueSample(), finished);
    for (WaveHeader* header : m_queue.takeAll()) {
        finished.push_back(header);
    }
    for (WaveHeader* header : finished) {
        header->flags.fetch_and(~WaveHeader::kInQueue);
        header->flags.fetch_or(WaveHeader::kDone);
    }
    m_open = false;
    m_callback = nullptr;
}

void HeadlessWaveOutput::run() {
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_stopping) {
        std::vector<WaveHeader*> finished;
        advanceTo(dueSample(), finished);
        if (!finished.empty()) {
            lock.unlock();
            complete(finished);  // the callback writes the next buffer
            lock.lock();
            continue;
        }
        const uint64_t end = endOfFirstBuffer();
        lock.unlock();
        m_clock.waitForWake(Clock::Role::kAudio, end);
        lock.lock();
    }
}

uint64_t HeadlessWaveOutput::endOfFirstBuffer() const {
    if (m_queue.empty()) {
        return Clock::kNever;
    }
    return (m_timeline + m_queue.samplesLeftInFirst()) * kMicrosecondsPerSample;
}

void HeadlessWaveOutput::advanceTo(uint64_t sample, std::vector<WaveHeader*>& finished) {
    m_queue.play(m_scratch.data(), 0, finished);  // buffers too short to hold a sample
    while (m_timeline < sample) {
        if (m_queue.empty()) {
            if (m_recorder != nullptr) {
                m_recorder->appendSilence(sample - m_timeline);
            }
            m_timeline = sample;
            return;
        }
        const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(sample - m_timeline, m_scratch.size()));
        m_played += m_queue.play(m_scratch.data(), count, finished);
        if (m_recorder != nullptr) {
            m_recorder->appendSamples(m_scratch.data(), count);
        }
        m_timeline += count;
    }
}

void HeadlessWaveOutput::complete(const std::vector<WaveHeader*>& headers) {
    for (WaveHeader* header : headers) {
        WaveQueue::complete(*header, m_callback, m_context);
    }
}

}  // namespace vornel
