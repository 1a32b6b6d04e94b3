// The timedemo of a demo as the whole game's benchmark: the vornel program plays the demo
// back headless as fast as it goes, a few times, and the median frames per second is kept.
#pragma once

#include <string>

namespace vornel::bench {

struct TimedemoResult {
    std::string demoName;  // the file's name without its folder and extension
    long frames = 0;
    double fps = -1;  // the median of the runs; -1 when none ran
    bool matched = false;  // every run drew the recorded frames
};

class Timedemo {
public:
    // Runs `program --timedemo demo --data dataFolder` runs times; false, with a line on
    // stderr, when the program cannot be started or does not print its timedemo line.
    static bool run(const std::string& program, const std::string& demo, const std::string& dataFolder, int runs,
                    TimedemoResult& result);
};

}  // namespace vornel::bench
