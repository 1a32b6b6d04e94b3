// How long a key or pen event takes from the moment the backend receives it to the moment the
// display shows the first frame that read it, in real time. An event's receipt stamp travels
// with its window message; the window procedure hands it over when it gives the input to the
// game, and from there the stamp goes with the frames:
//   delivered  -> being read  when a frame begins (the game reads its input at a frame's start)
//   being read -> drawn       when that frame ends (all its rectangles have been presented)
//   drawn      -> closed      once the display shows what was drawn: at once when nothing drawn
//                             waits to be shown, else when the device next shows its display.
// Called a few times a frame from the window's and the game's threads (the page's one thread
// plays both); with nothing in flight each call is an atomic or two, so it stays on in every run.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace vornel {

class InputLatency final {
public:
    // Latencies are told apart in tenths of a millisecond up to this many; longer ones count as
    // this long in the percentiles (the maximum is kept exactly).
    static constexpr int32_t kLongestKeptMs = 1000;
    // Stamps in flight at once; more (a game that stopped its frames) are not measured.
    static constexpr int32_t kMostInFlight = 64;

    struct Summary {
        int64_t events = 0;
        // Tenths of a millisecond.
        int32_t p50 = 0;
        int32_t p99 = 0;
        int32_t max = 0;
    };

    InputLatency() = default;
    InputLatency(const InputLatency&) = delete;
    InputLatency& operator=(const InputLatency&) = delete;

    // Real time in microseconds, never 0 (0 stamps no event).
    static int64_t now();

    // The input received at the moment given (0: none, not measured) reached the game.
    void delivered(int64_t receivedUs);
    void frameBegins();
    // For these two, nowUs 0 reads the clock, and only when some stamp waits for a frame: a
    // flat-out run ends a frame or shows its display far too often to read it for nothing.
    void frameDrawn(int64_t nowUs);
    // Display memory changed; the device has not shown it yet.
    void displayChanged() { m_displayCurrent.store(false); }
    // The device shows its display memory as it is now.
    void displayShown(int64_t nowUs);

    Summary summary() const;

private:
    static constexpr int32_t kTenthsKept = kLongestKeptMs * 10;
    using Histogram = std::array<uint32_t, kTenthsKept + 1>;

    // Records and removes the drawn stamps; under the lock.
    void closeDrawn(int64_t nowUs);
    void record(int64_t latencyUs);
    int32_t percentile(int32_t perMille) const;

    std::atomic<int32_t> m_inFlight{0};  // stamps delivered and not closed: the empty fast path
    std::atomic<bool> m_displayCurrent{true};
    mutable std::mutex m_lock;
    // In order of delivery: the first m_drawn are drawn, up to m_read being read, then delivered.
    std::array<int64_t, kMostInFlight> m_stamps{};
    int32_t m_count = 0;
    int32_t m_read = 0;
    int32_t m_drawn = 0;
    Histogram m_histogram{};
    int64_t m_events = 0;
    int64_t m_longestUs = 0;
};

}  // namespace vornel
