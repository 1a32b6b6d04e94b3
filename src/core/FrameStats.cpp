// The frame-length histogram.
#include "core/FrameStats.h"

#include <array>
#include <atomic>

#include "core/FrameHash.h"

namespace vornel {
namespace {

using Histogram = std::array<std::atomic<uint32_t>, FrameStats::kLongestKeptMs + 1>;

// Never destroyed: the game thread may still end a frame while the process exits.
Histogram& histogram() {
    static Histogram* const counts = new Histogram();
    return *counts;
}

std::atomic<int64_t> g_frames{0};
std::atomic<bool> g_keepChecksum{false};
std::atomic<uint32_t> g_checksum{frames::kChecksumBasis};  // written by the game thread alone

// The length below which the given share (in per mille) of all frames lie.
int32_t percentile(const Histogram& counts, int64_t frames, int32_t perMille) {
    const int64_t wanted = (frames * perMille + 999) / 1000;
    int64_t seen = 0;
    for (int32_t ms = 0; ms <= FrameStats::kLongestKeptMs; ++ms) {
        seen += counts[static_cast<std::size_t>(ms)].load(std::memory_order_relaxed);
        if (seen >= wanted) {
            return ms;
        }
    }
    return FrameStats::kLongestKeptMs;
}

int32_t longest(const Histogram& counts) {
    for (int32_t ms = FrameStats::kLongestKeptMs; ms > 0; --ms) {
        if (counts[static_cast<std::size_t>(ms)].load(std::memory_order_relaxed) != 0) {
            return ms;
        }
    }
    return 0;
}

}  // namespace

void FrameStats::record(int32_t frameMs) {
    const int32_t kept = frameMs < 0 ? 0 : (frameMs > kLongestKeptMs ? kLongestKeptMs : frameMs);
    histogram()[static_cast<std::size_t>(kept)].fetch_add(1, std::memory_order_relaxed);
    g_frames.fetch_add(1, std::memory_order_relaxed);
}

FrameStats::Summary FrameStats::summary() {
    Summary result;
    result.frames = g_frames.load(std::memory_order_relaxed);
    if (result.frames > 0) {
        result.medianMs = percentile(histogram(), result.frames, 500);
        result.p99Ms = percentile(histogram(), result.frames, 990);
        result.maxMs = longest(histogram());
    }
    return result;
}

void FrameStats::reset() {
    for (std::atomic<uint32_t>& count : histogram()) {
        count.store(0, std::memory_order_relaxed);
    }
    g_frames.store(0, std::memory_order_relaxed);
    g_checksum.store(frames::kChecksumBasis, std::memory_order_relaxed);
}

void FrameStats::keepChecksum(bool keep) {
    g_keepChecksum.store(keep, std::memory_order_relaxed);
}

bool FrameStats::keepsChecksum() {
    return g_keepChecksum.load(std::memory_order_relaxed);
}

void FrameStats::recordFrameHash(uint32_t frameHash) {
    g_checksum.store(frames::fold(g_checksum.load(std::memory_order_relaxed), frameHash), std::memory_order_relaxed);
}

uint32_t FrameStats::checksum() {
    return g_checksum.load(std::memory_order_relaxed);
}

}  // namespace vornel
