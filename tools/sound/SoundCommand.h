// The vornel-sound program: writes the game's five sounds as WAV files into a folder.
#pragma once

#include <string>
#include <vector>

namespace vornel {

class SoundCommand {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 2;  // bad arguments or a file that cannot be written

    // args: OUTDIR, created if missing. Errors go to stderr as one line.
    static int run(const std::vector<std::string>& args);
};

}  // namespace vornel
