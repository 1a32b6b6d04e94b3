// The frame-length and input-latency summaries of the --stats line.
#include "core/FrameStats.h"
#include "core/InputLatency.h"

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

// A stamp closes once a frame that began after its delivery has been drawn and the display
// shows it: at the frame's end while nothing drawn waits to be shown, else at the next showing.
// The percentiles count in tenths of a millisecond.
TEST(FrameStatsTest, InputLatencyRunsFromReceiptToTheShowingOfTheFrameThatReadIt) {
    InputLatency latency;
    latency.delivered(0);  // no event of the player's
    latency.delivered(1000);
    latency.frameDrawn(1500);  // no frame has read it yet
    latency.frameBegins();
    latency.delivered(3000);    // after the frame began: the next one reads it
    latency.displayShown(4000);  // the frame reading the first is not drawn yet
    latency.displayChanged();
    latency.frameDrawn(11000);  // drawn, not shown
    EXPECT_EQ(latency.summary().events, 0);
    latency.displayShown(21000);
    EXPECT_EQ(latency.summary().events, 1);  // 20.0 ms
    latency.frameBegins();
    latency.frameDrawn(40500);  // the display shows everything already: 37.5 ms
    for (int64_t received = 100000; received < 100000 + 98 * 50000; received += 50000) {
        latency.delivered(received);
        latency.frameBegins();
        latency.frameDrawn(received + 10000);
    }
    const InputLatency::Summary summary = latency.summary();
    EXPECT_EQ(summary.events, 100);
    EXPECT_EQ(summary.p50, 100);
    EXPECT_EQ(summary.p99, 200);
    EXPECT_EQ(summary.max, 375);
}

}  // namespace
}  // namespace vornel
