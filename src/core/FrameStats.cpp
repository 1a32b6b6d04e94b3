// The frame-length histogram.
#include "core/FrameStats.h"

namespace vornel {

// Never destroyed: the game thread may still end a frame while the process exits.
FrameStats& FrameStats::ofThisProcess() {
    static FrameStats* const stats = new FrameStats();
    return *stats;
}

void FrameStats::record(int32_t frameMs) {
    const int32_t kept = frameMs < 0 ? 0 : (frameMs > kLongestKeptMs ? kLongestKeptMs : frameMs);
    m_histogram[static_cast<std::size_t>(kept)].fetch_add(1, std::memory_order_relaxed);
    m_frames.fetch_add(1, std::memory_order_relaxed);
}

void FrameStats::frameDrawn() {
    m_latency.frameDrawn(0);
    if (m_listened.load()) {
        const std::lock_guard<std::mutex> guard(m_listenerLock);
        if (m_listener != nullptr) {
            m_listener->frameDrawn();
        }
    }
}

void FrameStats::setFrameListener(FrameListener* listener) {
    const std::lock_guard<std::mutex> guard(m_listenerLock);
    m_listener = listener;
    m_listened.store(listener != nullptr);
}

void FrameStats::removeFrameListener(const FrameListener* listener) {
    const std::lock_guard<std::mutex> guard(m_listenerLock);
    if (m_listener == listener) {
        m_listener = nullptr;
        m_listened.store(false);
    }
}

FrameStats::Summary FrameStats::summary() const {
    Summary result;
    result.frames = m_frames.load(std::memory_order_relaxed);
    if (result.frames > 0) {
        result.medianMs = percentile(result.frames, 500);
        result.p99Ms = percentile(result.frames, 990);
        result.maxMs = longest();
    }
    return result;
}

void FrameStats::recordFrameHash(uint32_t frameHash) {
    m_checksum.store(frames::fold(m_checksum.load(std::memory_order_relaxed), frameHash), std::memory_order_relaxed);
}

int32_t FrameStats::percentile(int64_t frames, int32_t perMille) const {
    const int64_t wanted = (frames * perMille + 999) / 1000;
    int64_t seen = 0;
    for (int32_t ms = 0; ms <= kLongestKeptMs; ++ms) {
        seen += m_histogram[static_cast<std::size_t>(ms)].load(std::memory_order_relaxed);
        if (seen >= wanted) {
            return ms;
        }
    }
    return kLongestKeptMs;
}

int32_t FrameStats::longest() const {
    for (int32_t ms = kLongestKeptMs; ms > 0; --ms) {
        if (m_histogram[static_cast<std::size_t>(ms)].load(std::memory_order_relaxed) != 0) {
            return ms;
        }
    }
    return 0;
}

}  // namespace vornel
