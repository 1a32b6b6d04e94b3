// Counts of the game's frames and their lengths, for the launcher's --stats line. Recording
// is a pair of relaxed atomic increments, cheap enough to stay on in every run. When asked
// for, also the checksum of every frame the game presented, as a demo computes its own, so
// that two runs can be compared in one line. And the latency of the player's input, from its
// receipt to the display showing the first frame that read it (InputLatency), and the frames
// drawn to the one device that wants to hear of them (FrameListener).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "core/FrameHash.h"
#include "core/FrameListener.h"
#include "core/InputLatency.h"

namespace vornel {

class FrameStats final {
public:
    // Frame lengths from 0 to this many ms are told apart; longer ones count as this long.
    static constexpr int32_t kLongestKeptMs = 2000;

    struct Summary {
        int64_t frames = 0;
        int32_t medianMs = 0;
        int32_t p99Ms = 0;
        int32_t maxMs = 0;  // the longest frame: a rare stall hides below the 99th percentile
    };

    FrameStats() = default;
    FrameStats(const FrameStats&) = delete;
    FrameStats& operator=(const FrameStats&) = delete;

    // The process's, which the game's frame clock records into: one run to a process.
    static FrameStats& ofThisProcess();

    // Called by the frame clock at the end of every frame (of any length).
    void record(int32_t frameMs);
    Summary summary() const;

    // Whether the frames' checksum is kept; set before the game starts.
    void keepChecksum(bool keep) { m_keepChecksum.store(keep, std::memory_order_relaxed); }
    bool keepsChecksum() const { return m_keepChecksum.load(std::memory_order_relaxed); }
    // Called by the frame clock at the end of every frame with the hash of its pixels.
    void recordFrameHash(uint32_t frameHash);
    uint32_t checksum() const { return m_checksum.load(std::memory_order_relaxed); }

    // ---- Input latency: the hooks of its stages (InputLatency) ----
    // Window procedure: input received at that moment (0: none) went into the game's input.
    void inputDelivered(int64_t receivedUs) { m_latency.delivered(receivedUs); }
    // Frame clock: after its wait a frame begins, and reads the input delivered so far...
    void frameBegins() { m_latency.frameBegins(); }
    // ...and when the next wait starts, that frame's rectangles have all been presented; the
    // listener hears of it after the latency has (a display it shows closes the frame's input).
    void frameDrawn();
    // Device: display memory changed (the end of a paint), and the display shows it. A device
    // that shows it later than the paint (once per display frame) calls displayShown then.
    void displayChanged() { m_latency.displayChanged(); }
    void displayShown() { m_latency.displayShown(0); }
    InputLatency::Summary latency() const { return m_latency.summary(); }

    // The one listener to the frames drawn (a newer one takes its place). Once the removal of
    // the listener returns, it is no longer called; removing another does nothing.
    void setFrameListener(FrameListener* listener);
    void removeFrameListener(const FrameListener* listener);

private:
    using Histogram = std::array<std::atomic<uint32_t>, kLongestKeptMs + 1>;

    // The length below which the given share (in per mille) of all frames lie.
    int32_t percentile(int64_t frames, int32_t perMille) const;
    int32_t longest() const;

    Histogram m_histogram{};
    std::atomic<int64_t> m_frames{0};
    std::atomic<bool> m_keepChecksum{false};
    std::atomic<uint32_t> m_checksum{frames::kChecksumBasis};  // written by the game thread alone
    InputLatency m_latency;
    std::atomic<bool> m_listened{false};  // the frame clock's fast path without a listener
    std::mutex m_listenerLock;             // held while the listener is called
    FrameListener* m_listener = nullptr;
};

}  // namespace vornel
