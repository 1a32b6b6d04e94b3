// The table printed after a run: one row per case with the game's time, each peer's time and
// the ratio peer / game (above 1: the game is faster), the whole game's timedemo and the latency
// of its keys, then the summary line that scripts read.
#pragma once

#include <cstdio>
#include <string>

#include "BenchCatalogue.h"
#include "PlayLatency.h"
#include "ResultCollector.h"
#include "Timedemo.h"

namespace vornel::bench {

class ResultTable {
public:
    // The cases whose game time the summary reports as frame_us and play_frame_us.
    ResultTable(const BenchCatalogue& catalogue, const ResultCollector& results, std::string frameCase,
                std::string playFrameCase);

    // The whole game's row: the timedemo's frames per second, in the table and the summary.
    void setTimedemo(const TimedemoResult& timedemo) { m_timedemo = timedemo; }
    // The keys' latency in play: a row, and the 99th percentile at the summary's end.
    void setLatency(const LatencyResult& latency) { m_latency = latency; }

    // Prints the table, the notes on cells that are not comparable, and last the summary.
    void print(std::FILE* out) const;

private:
    // A peer's cell: its time and ratio, or "n/a". Updates the worst ratio seen so far.
    std::string peerCells(const BenchCatalogue::Case& row, BenchCatalogue::Runner runner, double ours,
                          double& worst) const;
    void printNotes(std::FILE* out) const;
    void printTimedemo(std::FILE* out) const;
    void printLatency(std::FILE* out) const;
    double gameTime(const std::string& caseId) const;  // microseconds, or -1

    const BenchCatalogue& m_catalogue;
    const ResultCollector& m_results;
    std::string m_frameCase;
    std::string m_playFrameCase;
    TimedemoResult m_timedemo;
    LatencyResult m_latency;
};

}  // namespace vornel::bench
