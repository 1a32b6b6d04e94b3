// The frame-length summary of the --stats line.
#include "core/FrameStats.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

class FrameStatsTest : public testing::Test {
protected:
    void SetUp() override { FrameStats::reset(); }
    void TearDown() override { FrameStats::reset(); }
};

TEST_F(FrameStatsTest, MedianAndNinetyNinthPercentileComeFromTheRecordedLengths) {
    for (int32_t i = 0; i < 98; ++i) {
        FrameStats::record(32);
    }
    FrameStats::record(40);
    FrameStats::record(500);
    const FrameStats::Summary summary = FrameStats::summary();
    EXPECT_EQ(summary.frames, 100);
    EXPECT_EQ(summary.medianMs, 32);
    EXPECT_EQ(summary.p99Ms, 40);  // 99 of the 100 frames took 40 ms or less
    EXPECT_EQ(summary.maxMs, 500);  // the one stall the percentiles hide
}

TEST_F(FrameStatsTest, LengthsOutsideTheHistogramAreKeptAtItsEnds) {
    FrameStats::record(-5);
    FrameStats::record(1 << 30);
    const FrameStats::Summary summary = FrameStats::summary();
    EXPECT_EQ(summary.frames, 2);
    EXPECT_EQ(summary.medianMs, 0);
    EXPECT_EQ(summary.p99Ms, FrameStats::kLongestKeptMs);
    EXPECT_EQ(summary.maxMs, FrameStats::kLongestKeptMs);
    FrameStats::reset();
    EXPECT_EQ(FrameStats::summary().frames, 0);
    EXPECT_EQ(FrameStats::summary().medianMs, 0);
}

}  // namespace
}  // namespace vornel
