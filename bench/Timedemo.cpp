// Running the program's timedemo and reading its line.
#include "Timedemo.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "ProgramOutput.h"

namespace vornel::bench {

bool Timedemo::run(const std::string& program, const std::string& demo, const std::string& dataFolder, int runs,
                   TimedemoResult& result) {
    result = TimedemoResult{std::filesystem::path(demo).stem().string(), 0, -1, true};
    std::vector<double> rates;
    for (int i = 0; i < runs; ++i) {
        const std::string output = ProgramOutput::of({program, "--timedemo", demo, "--data", dataFolder});
        const std::size_t line = output.rfind("timedemo: ");
        double seconds = 0;
        double fps = 0;
        char match[4] = {};
        if (line == std::string::npos ||
            std::sscanf(output.c_str() + line, "timedemo: frames=%ld seconds=%lf fps=%lf checksum=%*x match=%3s",
                        &result.frames, &seconds, &fps, match) != 4) {
            std::fprintf(stderr, "bench: %s --timedemo %s printed no timedemo line\n", program.c_str(), demo.c_str());
            return false;
        }
        rates.push_back(fps);
        result.matched = result.matched && std::string(match) == "yes";
    }
    std::sort(rates.begin(), rates.end());
    result.fps = rates.empty() ? -1 : rates[rates.size() / 2];
    return true;
}

}  // namespace vornel::bench
