// A reporter that prints nothing itself: it keeps the median real time of every benchmark,
// by name, for the table printed after the run, and shows progress on a terminal's stderr.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vornel::bench {

class ResultCollector : public benchmark::BenchmarkReporter {
public:
    explicit ResultCollector(int benchmarkCount);

    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // Median real time of the benchmark in microseconds; false when it did not run or failed.
    bool medianMicroseconds(const std::string& name, double& microseconds) const;
    // The failures' messages, one per benchmark that reported an error.
    const std::vector<std::string>& failures() const { return m_failures; }
    int cpuCount() const { return m_cpus; }
    double cpuMhz() const { return m_mhz; }

private:
    std::map<std::string, double> m_medians;  // microseconds
    std::vector<std::string> m_failures;
    int m_expected;
    int m_finished = 0;
    bool m_showProgress;  // a counter that overwrites itself, only where it can
    int m_cpus = 0;
    double m_mhz = 0;
};

}  // namespace vornel::bench
