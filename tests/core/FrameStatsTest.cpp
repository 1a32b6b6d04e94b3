// The frame-length summary of the --stats line.
#include "core/FrameStats.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

TEST(FrameStatsTest, MedianAndNinetyNinthPercentileComeFromTheRecordedLengths) {
    FrameStats stats;
    for (int32_t i = 0; i < 98; ++i) {
        stats.record(32);
    }
    stats.record(40);
    stats.record(500);
    const FrameStats::Summary summary = stats.summary();
    EXPECT_EQ(summary.frames, 100);
    EXPECT_EQ(summary.medianMs, 32);
    EXPECT_EQ(summary.p99Ms, 40);  // 99 of the 100 frames took 40 ms or less
    EXPECT_EQ(summary.maxMs, 500);  // the one stall the percentiles hide
}

TEST(FrameStatsTest, LengthsOutsideTheHistogramAreKeptAtItsEnds) {
    FrameStats stats;
    EXPECT_EQ(stats.summary().frames, 0);
    EXPECT_EQ(stats.summary().medianMs, 0);
    stats.record(-5);
    stats.record(1 << 30);
    const FrameStats::Summary summary = stats.summary();
    EXPECT_EQ(summary.frames, 2);
    EXPECT_EQ(summary.medianMs, 0);
    EXPECT_EQ(summary.p99Ms, FrameStats::kLongestKeptMs);
    EXPECT_EQ(summary.maxMs, FrameStats::kLongestKeptMs);
}

}  // namespace
}  // namespace vornel
