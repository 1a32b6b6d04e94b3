// The stamps' way through the frames, and the latency histogram.
#include "core/InputLatency.h"

#include <algorithm>
#include <chrono>

namespace vornel {

int64_t InputLatency::now() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::max<int64_t>(1, std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

void InputLatency::delivered(int64_t receivedUs) {
    if (receivedUs == 0) {
        return;
    }
    const std::lock_guard<std::mutex> guard(m_lock);
    if (m_count < kMostInFlight) {
        m_stamps[static_cast<std::size_t>(m_count++)] = receivedUs;
        m_inFlight.fetch_add(1);
    }
}

void InputLatency::frameBegins() {
    if (m_inFlight.load() == 0) {
        return;
    }
    const std::lock_guard<std::mutex> guard(m_lock);
    m_read = m_count;
}

// The display flag is read under the lock: a device that shows its display after this look
// takes the lock after it too, and finds the stamps drawn.
void InputLatency::frameDrawn(int64_t nowUs) {
    if (m_inFlight.load() == 0) {
        return;
    }
    const std::lock_guard<std::mutex> guard(m_lock);
    m_drawn = m_read;
    if (m_displayCurrent.load()) {
        closeDrawn(nowUs != 0 ? nowUs : now());
    }
}

void InputLatency::displayShown(int64_t nowUs) {
    m_displayCurrent.store(true);
    if (m_inFlight.load() == 0) {
        return;
    }
    const std::lock_guard<std::mutex> guard(m_lock);
    closeDrawn(nowUs != 0 ? nowUs : now());
}

void InputLatency::closeDrawn(int64_t nowUs) {
    if (m_drawn == 0) {
        return;
    }
    for (int32_t i = 0; i < m_drawn; ++i) {
        record(nowUs - m_stamps[static_cast<std::size_t>(i)]);
    }
    std::copy(m_stamps.begin() + m_drawn, m_stamps.begin() + m_count, m_stamps.begin());
    m_count -= m_drawn;
    m_read -= m_drawn;
    m_inFlight.fetch_sub(m_drawn);
    m_drawn = 0;
}

void InputLatency::record(int64_t latencyUs) {
    const int64_t kept = std::max<int64_t>(latencyUs, 0);
    const auto tenths = static_cast<std::size_t>(std::min<int64_t>(kept / 100, kTenthsKept));
    ++m_histogram[tenths];
    ++m_events;
    m_longestUs = std::max(m_longestUs, kept);
}

InputLatency::Summary InputLatency::summary() const {
    const std::lock_guard<std::mutex> guard(m_lock);
    Summary result;
    result.events = m_events;
    if (m_events > 0) {
        result.p50 = percentile(500);
        result.p99 = percentile(990);
        result.max = static_cast<int32_t>(std::min<int64_t>(m_longestUs / 100, INT32_MAX));
    }
    return result;
}

// The tenth below which the given share (in per mille) of all latencies lie.
int32_t InputLatency::percentile(int32_t perMille) const {
    const int64_t wanted = (m_events * perMille + 999) / 1000;
    int64_t seen = 0;
    for (int32_t tenth = 0; tenth <= kTenthsKept; ++tenth) {
        seen += m_histogram[static_cast<std::size_t>(tenth)];
        if (seen >= wanted) {
            return tenth;
        }
    }
    return kTenthsKept;
}

}  // namespace vornel
