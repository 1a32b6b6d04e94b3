// The benchmark cases in the order the table lists them: each case is timed for the game's
// own code and for every peer that can do the same work, or carries the reason it cannot.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

namespace vornel::bench {

class BenchCatalogue {
public:
    enum class Runner { Vornel, Pixman, Sdl };
    using Body = std::function<void(benchmark::State&)>;

    struct Case {
        std::string id;     // the first part of each benchmark name: "<id>/<runner>"
        std::string label;  // the table's row heading
        std::string pixmanNote;  // why pixman has no benchmark for it; empty when it has one
        std::string sdlNote;
    };

    // How every benchmark is run: repetitions whose median is reported, each at least
    // minSeconds long, so that a whole run stays well inside two minutes on two cores.
    BenchCatalogue(int repetitions, double minSeconds);

    void addCase(const std::string& id, const std::string& label);
    // Registers the body as the runner's benchmark of the case added last.
    void time(Runner runner, Body body);
    // Marks the peer's cell of the case added last as not comparable, with a short reason.
    void notComparable(Runner runner, const std::string& reason);

    const std::vector<Case>& cases() const { return m_cases; }
    int benchmarkCount() const { return m_benchmarks; }
    static std::string benchmarkName(const std::string& caseId, Runner runner);
    static const char* runnerName(Runner runner);

private:
    std::vector<Case> m_cases;
    int m_benchmarks = 0;
    int m_repetitions;
    double m_minSeconds;
};

}  // namespace vornel::bench
