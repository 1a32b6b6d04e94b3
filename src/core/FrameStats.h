// Counts of the game's frames and their lengths, for the launcher's --stats line. Recording
// is a pair of relaxed atomic increments, cheap enough to stay on in every run. When asked
// for, also the checksum of every frame the game presented, as a demo computes its own, so
// that two runs can be compared in one line.
#pragma once

#include <cstdint>

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

    // Called by the frame clock at the end of every frame (of any length).
    static void record(int32_t frameMs);
    static Summary summary();
    static void reset();

    // Whether the frames' checksum is kept; set before the game starts.
    static void keepChecksum(bool keep);
    static bool keepsChecksum();
    // Called by the frame clock at the end of every frame with the hash of its pixels.
    static void recordFrameHash(uint32_t frameHash);
    static uint32_t checksum();
};

}  // namespace vornel
