// The table and its summary line: medians paired by name, ratios peer / game, the worst ratio
// over the comparable cells only, and the last line in the exact form scripts read.
#include "ResultTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;
using Report = benchmark::BenchmarkReporter::Run;

void nothing(benchmark::State& state) {
    for (auto _ : state) {
    }
}

// An aggregate report of one benchmark, as Google Benchmark hands it to a reporter.
Report aggregate(const std::string& name, const char* statistic, double microseconds) {
    Report run;
    run.run_name.function_name = name;
    run.run_type = Report::RT_Aggregate;
    run.aggregate_name = statistic;
    run.iterations = 1;
    run.time_unit = benchmark::kMicrosecond;
    run.real_accumulated_time = microseconds / 1e6;  // seconds
    return run;
}

std::string printed(const ResultTable& table) {
    std::FILE* file = std::tmpfile();
    table.print(file);
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text.push_back(static_cast<char>(c));
    }
    std::fclose(file);
    return text;
}

std::string lastLine(const std::string& text) {
    const std::size_t end = text.find_last_not_of('\n');
    return text.substr(text.rfind('\n', end) + 1, end - text.rfind('\n', end));
}

class ResultTableTest : public testing::Test {
protected:
    // blit: both peers; depth: no peers; frame and play: the game's repaints; fill: pixman
    // timed but SDL not comparable.
    ResultTableTest() : m_catalogue(1, 0.01), m_results(9) {
        m_catalogue.addCase("blit", "blit");
        m_catalogue.time(Runner::Vornel, nothing);
        m_catalogue.time(Runner::Pixman, nothing);
        m_catalogue.time(Runner::Sdl, nothing);
        m_catalogue.addCase("depth", "depth");
        m_catalogue.time(Runner::Vornel, nothing);
        m_catalogue.notComparable(Runner::Pixman, "keeps no depth");
        m_catalogue.notComparable(Runner::Sdl, "keeps no depth");
        m_catalogue.addCase("fill", "fill");
        m_catalogue.time(Runner::Vornel, nothing);
        m_catalogue.time(Runner::Pixman, nothing);
        m_catalogue.notComparable(Runner::Sdl, "cannot blend");
        m_catalogue.addCase("frame", "frame");
        m_catalogue.time(Runner::Vornel, nothing);
        m_catalogue.addCase("play", "play");
        m_catalogue.time(Runner::Vornel, nothing);
    }

    void report(const std::vector<Report>& runs) { m_results.ReportRuns(runs); }

    std::string table() { return printed(ResultTable(m_catalogue, m_results, "frame", "play")); }

    BenchCatalogue m_catalogue;
    ResultCollector m_results;
};

TEST_F(ResultTableTest, TheSummaryTakesTheSmallestRatioOfEachPeerAndTheMedianRepaintTimes) {
    report({aggregate("blit/vornel", "mean", 99), aggregate("blit/vornel", "median", 2.0),
            aggregate("blit/pixman", "median", 1.0), aggregate("blit/sdl", "median", 8.0)});
    report({aggregate("depth/vornel", "median", 3.0)});
    report({aggregate("fill/vornel", "median", 4.0), aggregate("fill/pixman", "median", 6.0)});
    report({aggregate("frame/vornel", "median", 123.46), aggregate("play/vornel", "median", 45.67)});
    const std::string text = table();
    EXPECT_EQ(lastLine(text), "bench: worst_vs_pixman=0.50 worst_vs_sdl=4.00 frame_us=123.5 play_frame_us=45.7 timedemo_fps=n/a timedemo_vs_play_frame=n/a latency_p99_ms=n/a");
    EXPECT_NE(text.find("keeps no depth"), std::string::npos);
    EXPECT_NE(text.find("cannot blend"), std::string::npos);
}

TEST_F(ResultTableTest, TheTimedemoAndTheKeysLatencyGetRowsAndEndTheSummary) {
    report({aggregate("play/vornel", "median", 45.67)});
    ResultTable withTimedemo(m_catalogue, m_results, "frame", "play");
    withTimedemo.setTimedemo({"hard-game", 6568, 7363.14, true});
    withTimedemo.setLatency({300, 17.4, 38.06, 45.0});
    const std::string text = printed(withTimedemo);
    EXPECT_NE(text.find("timedemo hard-game (6568 frames), frames/s       7363\n"), std::string::npos) << text;
    EXPECT_NE(text.find("key latency in play (300 events), p99 ms       38.1  (p50 17.4, max 45.0)\n"),
              std::string::npos) << text;
    // 135.8 microseconds a frame of the timedemo, 2.97 play frames of 45.67
    EXPECT_EQ(lastLine(text), "bench: worst_vs_pixman=n/a worst_vs_sdl=n/a frame_us=n/a play_frame_us=45.7 "
                              "timedemo_fps=7363.1 timedemo_vs_play_frame=2.97 latency_p99_ms=38.1");
}

TEST_F(ResultTableTest, CasesThatDidNotRunLeaveTheSummaryWithoutNumbers) {
    report({aggregate("depth/vornel", "median", 3.0)});
    EXPECT_EQ(lastLine(table()), "bench: worst_vs_pixman=n/a worst_vs_sdl=n/a frame_us=n/a play_frame_us=n/a timedemo_fps=n/a timedemo_vs_play_frame=n/a latency_p99_ms=n/a");
}

TEST_F(ResultTableTest, AFailedBenchmarkIsListedAndLeftOutOfTheRatios) {
    Report failed = aggregate("blit/pixman", "median", 0.001);
    failed.error_occurred = true;
    failed.error_message = "pixman refused the picture";
    report({aggregate("blit/vornel", "median", 2.0), failed, aggregate("blit/sdl", "median", 3.0)});
    report({aggregate("fill/vornel", "median", 4.0), aggregate("fill/pixman", "median", 10.0)});
    const std::string text = table();
    EXPECT_NE(text.find("failed: blit/pixman: pixman refused the picture"), std::string::npos);
    EXPECT_EQ(lastLine(text), "bench: worst_vs_pixman=2.50 worst_vs_sdl=1.50 frame_us=n/a play_frame_us=n/a timedemo_fps=n/a timedemo_vs_play_frame=n/a latency_p99_ms=n/a");
}

}  // namespace
}  // namespace vornel::bench
