// The verbs of the vornel-bank program: write a bank from PNG files, list a bank's pictures,
// and extract one picture, decoded by the game's own bank reader, as a PNG.
#pragma once

#include <string>
#include <vector>

namespace vornel {

class BankCommand {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 2;  // bad arguments, unreadable pictures, bad numbers

    // Runs the verb in args[0] with the arguments after it; answers the exit status. Errors
    // go to stderr as one line; no arguments at all print the usage.
    static int run(const std::vector<std::string>& args);

private:
    static int write(const std::vector<std::string>& args);
    static int list(const std::vector<std::string>& args);
    static int extract(const std::vector<std::string>& args);
};

}  // namespace vornel
