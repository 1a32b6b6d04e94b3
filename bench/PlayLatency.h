// The latency of the player's keys as the whole game's benchmark: the vornel program in a window
// on SDL's dummy video driver, in real time, steered through a game by a script whose arrow keys
// go through SDL's event queue, prints with --stats how long each key event took from the event
// loop to the display showing the first frame that read it.
#pragma once

#include <string>

namespace vornel::bench {

struct LatencyResult {
    long events = 0;
    // Milliseconds of real time; -1 when the run did not take place.
    double p50 = -1;
    double p99 = -1;
    double max = -1;
};

class PlayLatency {
public:
    // Rounds of the script, 16 key events each, half of them presses and half releases.
    static constexpr int kRounds = 12;

    // Runs PROGRAM --real-time --script ... --stats --data dataFolder once; false, with a line on
    // stderr, when the program cannot be started or prints no latency.
    static bool run(const std::string& program, const std::string& dataFolder, LatencyResult& result);
    // A new game from the main menu (the letter N: one more event), then rounds of play.
    static std::string script();
};

}  // namespace vornel::bench
