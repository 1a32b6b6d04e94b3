// Playing queued wave headers sample by sample.
#include "device/WaveQueue.h"

#include <algorithm>

#include "device/SoundGate.h"

namespace vornel {

void WaveQueue::push(WaveHeader& header) {
    m_headers.push_back(&header);
}

uint64_t WaveQueue::queuedSamples() const {
    uint64_t total = 0;
    for (const WaveHeader* header : m_headers) {
        total += samplesIn(*header);
    }
    return total - m_playedOfFirst;
}

uint64_t WaveQueue::samplesLeftInFirst() const {
    return m_headers.empty() ? 0 : samplesIn(*m_headers.front()) - m_playedOfFirst;
}

std::size_t WaveQueue::play(int16_t* out, std::size_t count, std::vector<WaveHeader*>& finished) {
    std::size_t filled = 0;
    while (!m_headers.empty()) {
        WaveHeader& header = *m_headers.front();
        const uint64_t left = samplesIn(header) - m_playedOfFirst;
        const std::size_t part = static_cast<std::size_t>(std::min<uint64_t>(left, count - filled));
        const uint8_t* bytes = header.data + m_playedOfFirst * 2;
        for (std::size_t i = 0; i < part; ++i) {
            out[filled + i] = static_cast<int16_t>(bytes[i * 2] | bytes[i * 2 + 1] << 8);
        }
        filled += part;
        m_playedOfFirst += part;
        if (m_playedOfFirst < samplesIn(header)) {
            break;  // out is full
        }
        finished.push_back(&header);
        m_headers.pop_front();
        m_playedOfFirst = 0;
    }
    std::fill(out + (SoundGate::isOpen() ? filled : 0), out + count, int16_t{0});
    return filled;
}

std::vector<WaveHeader*> WaveQueue::takeAll() {
    std::vector<WaveHeader*> headers(m_headers.begin(), m_headers.end());
    m_headers.clear();
    m_playedOfFirst = 0;
    return headers;
}

void WaveQueue::complete(WaveHeader& header, WaveOutput::Callback callback, void* context) {
    header.flags.fetch_and(~WaveHeader::kInQueue);
    header.flags.fetch_or(WaveHeader::kDone);
    if (callback != nullptr) {
        callback(context, WaveOutput::kDoneMessage, &header);
    }
}

}  // namespace vornel
