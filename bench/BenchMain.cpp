// vornel-bench: times the game's drawing, decoding, presentation and mixing beside pixman and
// SDL2 doing the same work, and prints one table row per case and a summary line:
//   vornel-bench [DATA_FOLDER] [--timedemo PROGRAM DEMO] [--benchmark_... options of Google Benchmark]
// DATA_FOLDER holds app*.bin and f15.bin (default: ../bin beside the executable's folder).
// With --timedemo the table ends with the whole game: PROGRAM's timedemo of DEMO, and the
// latency of its keys in a window on SDL's dummy driver (PlayLatency).
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <sched.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchCatalogue.h"
#include "BenchmarkSets.h"
#include "GameAssets.h"
#include "PlayLatency.h"
#include "ResultCollector.h"
#include "ResultTable.h"
#include "Timedemo.h"

namespace {

using vornel::bench::BenchCatalogue;

// The median of nine runs of at least 60 ms each: stable to a few per cent, and the whole
// run of some fifty benchmarks inside a minute. Set per benchmark, so the command line's
// repetition and time options do not change them.
constexpr int kRepetitions = 9;
constexpr double kMinSeconds = 0.06;

constexpr int kTimedemoRuns = 5;

struct Arguments {
    std::string folder;
    std::string program;  // --timedemo: the vornel program and the demo it plays
    std::string demo;
    std::vector<char*> benchmarkArguments;  // the program's name first, as Google Benchmark wants
};

// Repetitions of all benchmarks are run in a shuffled order, so that a spell of load from
// elsewhere on the machine slows the game's and the peers' runs alike and the ratios hold.
char g_interleave[] = "--benchmark_enable_random_interleaving=true";

bool parse(int argc, char** argv, Arguments& arguments) {
    arguments.benchmarkArguments.push_back(argv[0]);
    arguments.benchmarkArguments.push_back(g_interleave);  // before the user's, which may undo it
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--benchmark_", 0) == 0) {
            arguments.benchmarkArguments.push_back(argv[i]);
        } else if (argument == "--timedemo" && i + 2 < argc) {
            arguments.program = argv[++i];
            arguments.demo = argv[++i];
        } else if (argument.rfind("--", 0) != 0 && arguments.folder.empty()) {
            arguments.folder = argument;
        } else {
            std::fprintf(stderr, "usage: vornel-bench [DATA_FOLDER] [--timedemo PROGRAM DEMO] [--benchmark_... options]\n");
            return false;
        }
    }
    if (arguments.folder.empty()) {
        arguments.folder = (std::filesystem::absolute(argv[0]).parent_path().parent_path() / "bin").string();
    }
    return true;
}

// The processors of a machine need not be alike: on a shared virtual machine one ran the same
// timedemo 45 % slower than the other (it also takes the host's interrupts). The drawing cases
// and the timedemos run on the processor the bench started on, so that the ratio of the two
// compares like with like; the latency run gets every processor back, as a player's game has.
bool keepToThisProcessor(cpu_set_t& before) {
    const int cpu = sched_getcpu();
    if (cpu < 0 || sched_getaffinity(0, sizeof before, &before) != 0) {
        return false;
    }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    return sched_setaffinity(0, sizeof one, &one) == 0;
}

void addAllCases(BenchCatalogue& catalogue) {
    using vornel::bench::BenchmarkSets;
    BenchmarkSets::addBlits(catalogue);
    BenchmarkSets::addFills(catalogue);
    BenchmarkSets::addDecoders(catalogue);
    BenchmarkSets::addDisplay(catalogue);
    BenchmarkSets::addMixer(catalogue);
    BenchmarkSets::addFrames(catalogue);
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!parse(argc, argv, arguments) || !vornel::bench::GameAssets::load(arguments.folder)) {
        return 1;
    }
    BenchCatalogue catalogue(kRepetitions, kMinSeconds);
    addAllCases(catalogue);
    int count = static_cast<int>(arguments.benchmarkArguments.size());
    benchmark::Initialize(&count, arguments.benchmarkArguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.benchmarkArguments.data())) {
        return 1;
    }
    cpu_set_t everyProcessor;
    const bool kept = keepToThisProcessor(everyProcessor);
    vornel::bench::ResultCollector results(catalogue.benchmarkCount());
    benchmark::RunSpecifiedBenchmarks(&results);
    SDL_version sdl;
    SDL_GetVersion(&sdl);
    std::printf("bench: %d CPUs at %.0f MHz, pixman %s, SDL %d.%d.%d; median of %d runs of >= %.0f ms each\n",
                results.cpuCount(), results.cpuMhz(), pixman_version_string(), sdl.major, sdl.minor, sdl.patch,
                kRepetitions, kMinSeconds * 1000);
    vornel::bench::ResultTable table(catalogue, results, "render_full_frame", "render_play_frame");
    vornel::bench::TimedemoResult timedemo;
    const bool timed = arguments.program.empty() ||
                       vornel::bench::Timedemo::run(arguments.program, arguments.demo, arguments.folder, kTimedemoRuns,
                                                    timedemo);
    table.setTimedemo(timedemo);
    if (kept) {
        sched_setaffinity(0, sizeof everyProcessor, &everyProcessor);
    }
    vornel::bench::LatencyResult latency;
    const bool measured = arguments.program.empty() ||
                          vornel::bench::PlayLatency::run(arguments.program, arguments.folder, latency);
    table.setLatency(latency);
    table.print(stdout);
    benchmark::Shutdown();
    return results.failures().empty() && timed && measured && (arguments.program.empty() || timedemo.matched) ? 0 : 1;
}
