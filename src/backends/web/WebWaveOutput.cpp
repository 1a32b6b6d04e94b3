// The browser's wave output, timed on the device clock.
#include "backends/web/WebWaveOutput.h"

#include <emscripten.h>

#include <algorithm>

namespace vornel {
namespace {

constexpr uint64_t kMicrosecondsPerSample = 125;  // 8000 samples a second

}  // namespace

bool WebWaveOutput::audioRuns() {
    return EM_ASM_INT({ return Module.vornelAudio.runs() ? 1 : 0; }) != 0;
}

bool WebWaveOutput::open(const WaveFormat&, Callback callback, void* context) {
    m_open = true;
    m_callback = callback;
    m_context = context;
    m_playedSamples = 0;
    return true;
}

bool WebWaveOutput::prepareHeader(WaveHeader& header) {
    header.flags.fetch_or(WaveHeader::kPrepared);
    return true;
}

bool WebWaveOutput::write(WaveHeader& header) {
    if (!m_open || (header.flags.load() & WaveHeader::kPrepared) == 0 ||
        (header.data == nullptr && header.bufferLength > 0)) {
        return false;
    }
    header.flags.fetch_and(~WaveHeader::kDone);
    header.flags.fetch_or(WaveHeader::kInQueue);
    if (audioRuns()) {
        EM_ASM({ Module.vornelAudio.play($0, $1); }, header.data, header.bufferLength);
        m_queue.push_back({&header, 0, true});
        return true;
    }
    const uint64_t start = m_queue.empty() ? m_clock.microseconds() : std::max(m_queue.back().endsAt, m_clock.microseconds());
    m_queue.push_back({&header, start + header.bufferLength / 2 * kMicrosecondsPerSample, false});
    return true;
}

uint32_t WebWaveOutput::position() {
    return static_cast<uint32_t>(m_playedSamples);
}

void WebWaveOutput::reset() {
    m_audibleEnded = EM_ASM_INT({ return Module.vornelAudio.stop(); });
    while (!m_queue.empty()) {
        WaveHeader* header = m_queue.front().header;
        m_queue.pop_front();
        complete(header);
    }
}

bool WebWaveOutput::unprepareHeader(WaveHeader& header) {
    if ((header.flags.load() & WaveHeader::kInQueue) != 0) {
        return false;  // still playing
    }
    header.flags.fetch_and(~WaveHeader::kPrepared);
    return true;
}

void WebWaveOutput::close() {
    if (!m_open) {
        return;
    }
    m_audibleEnded = EM_ASM_INT({ return Module.vornelAudio.stop(); });
    for (const Queued& queued : m_queue) {
        queued.header->flags.fetch_and(~WaveHeader::kInQueue);
        queued.header->flags.fetch_or(WaveHeader::kDone);
    }
    m_queue.clear();
    m_open = false;
    m_callback = nullptr;
}

// Buffers end in the order they were written, heard or not.
void WebWaveOutput::completeDue() {
    Ends ends;
    while (!m_queue.empty() && hasEnded(m_queue.front(), ends)) {
        if (m_queue.front().audible) {
            ++m_audibleEnded;
        }
        WaveHeader* header = m_queue.front().header;
        m_queue.pop_front();
        m_playedSamples += header->bufferLength / 2;
        complete(header);
    }
}

// Every pump asks (a timedemo's, once a rectangle), so the page is asked how many of its
// buffers ended only for one it plays, and the clock read only for one it does not: each is a
// call out of the game's code. Each is read once a call, as buffers written meanwhile end later.
bool WebWaveOutput::hasEnded(const Queued& queued, Ends& ends) {
    if (queued.audible) {
        if (!ends.audible) {
            ends.audible = EM_ASM_INT({ return Module.vornelAudio.ended; });
        }
        return m_audibleEnded < *ends.audible;
    }
    if (!ends.now) {
        ends.now = m_clock.microseconds();
    }
    return queued.endsAt <= *ends.now;
}

void WebWaveOutput::complete(WaveHeader* header) {
    header->flags.fetch_and(~WaveHeader::kInQueue);
    header->flags.fetch_or(WaveHeader::kDone);
    m_callback(m_context, kDoneMessage, header);
}

}  // namespace vornel
