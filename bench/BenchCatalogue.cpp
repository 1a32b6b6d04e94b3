// Registering the cases' benchmarks with Google Benchmark under names the table can pair up.
#include "BenchCatalogue.h"

#include <cstdio>

namespace vornel::bench {

BenchCatalogue::BenchCatalogue(int repetitions, double minSeconds)
    : m_repetitions(repetitions), m_minSeconds(minSeconds) {}

void BenchCatalogue::addCase(const std::string& id, const std::string& label) {
    m_cases.push_back(Case{id, label, "", ""});
}

void BenchCatalogue::time(Runner runner, Body body) {
    if (m_cases.empty()) {
        std::fprintf(stderr, "bench: a benchmark was timed before any case was added\n");
        return;
    }
    const std::string name = benchmarkName(m_cases.back().id, runner);
    benchmark::RegisterBenchmark(name.c_str(), std::move(body))
        ->Repetitions(m_repetitions)
        ->ReportAggregatesOnly(true)
        ->MinTime(m_minSeconds)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    ++m_benchmarks;
}

void BenchCatalogue::notComparable(Runner runner, const std::string& reason) {
    if (m_cases.empty()) {
        return;
    }
    Case& last = m_cases.back();
    (runner == Runner::Pixman ? last.pixmanNote : last.sdlNote) = reason;
}

std::string BenchCatalogue::benchmarkName(const std::string& caseId, Runner runner) {
    return caseId + "/" + runnerName(runner);
}

const char* BenchCatalogue::runnerName(Runner runner) {
    switch (runner) {
        case Runner::Vornel: return "vornel";
        case Runner::Pixman: return "pixman";
        case Runner::Sdl: return "sdl";
    }
    return "?";
}

}  // namespace vornel::bench
