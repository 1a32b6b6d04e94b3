// The vornel-font program: rasterises a TrueType font into the game's bitmap font file.
#pragma once

#include <string>
#include <vector>

namespace vornel {

class FontCommand {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 2;  // bad arguments, unreadable font, unwritable output

    // args: FONT.ttf OUT.bin and options (see the usage line). Errors go to stderr as one
    // line; success prints a one-line summary.
    static int run(const std::vector<std::string>& args);
};

}  // namespace vornel
