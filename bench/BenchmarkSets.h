// The groups of benchmark cases, each added to the catalogue in table order. Every group
// lives in its own file: BlitBenchmarks.cpp, FillBenchmarks.cpp, and so on.
#pragma once

#include "BenchCatalogue.h"

namespace vornel::bench {

class BenchmarkSets {
public:
    // Picture blits: the row-copy fast path, the sampling path unscaled and scaled, at half
    // opacity and behind nearer pixels.
    static void addBlits(BenchCatalogue& catalogue);
    // Rectangle fills in each blending mode, the vertical gradient and a line of text.
    static void addFills(BenchCatalogue& catalogue);
    // The run-length decoder and the JPEG decoder on the bank's own records.
    static void addDecoders(BenchCatalogue& catalogue);
    // The copy of a finished frame into 5-6-5 display memory, upright and turned.
    static void addDisplay(BenchCatalogue& catalogue);
    // The sound mixer filling a buffer from three playing clips.
    static void addMixer(BenchCatalogue& catalogue);
    // Repaints of the play scene: the whole screen, and a frame in which the ball, its
    // shadow and both bats moved.
    static void addFrames(BenchCatalogue& catalogue);
};

}  // namespace vornel::bench
