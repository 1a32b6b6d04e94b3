// Keeping the medians of the aggregate reports, converted to microseconds.
#include "ResultCollector.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace vornel::bench {
namespace {

double toMicroseconds(double value, benchmark::TimeUnit unit) {
    switch (unit) {
        case benchmark::kNanosecond: return value / 1e3;
        case benchmark::kMicrosecond: return value;
        case benchmark::kMillisecond: return value * 1e3;
        case benchmark::kSecond: return value * 1e6;
    }
    return value;
}

}  // namespace

ResultCollector::ResultCollector(int benchmarkCount)
    : m_expected(benchmarkCount), m_showProgress(isatty(STDERR_FILENO) != 0) {}

bool ResultCollector::ReportContext(const Context& context) {
    m_cpus = context.cpu_info.num_cpus;
    m_mhz = context.cpu_info.cycles_per_second / 1e6;
    return true;
}

void ResultCollector::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        const std::string& name = run.run_name.function_name;
        if (run.error_occurred) {
            const std::string failure = name + ": " + run.error_message;
            if (std::find(m_failures.begin(), m_failures.end(), failure) == m_failures.end()) {
                m_failures.push_back(failure);  // once, though every repetition reports it
                ++m_finished;
            }
            continue;
        }
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            m_medians[name] = toMicroseconds(run.GetAdjustedRealTime(), run.time_unit);
            ++m_finished;
        }
    }
    if (m_showProgress) {
        std::fprintf(stderr, "\rbench: %d of %d benchmarks done", m_finished, m_expected);
        std::fflush(stderr);
    }
}

void ResultCollector::Finalize() {
    if (m_showProgress) {
        std::fprintf(stderr, "\n");
    }
}

bool ResultCollector::medianMicroseconds(const std::string& name, double& microseconds) const {
    const auto found = m_medians.find(name);
    if (found == m_medians.end()) {
        return false;
    }
    microseconds = found->second;
    return true;
}

}  // namespace vornel::bench
