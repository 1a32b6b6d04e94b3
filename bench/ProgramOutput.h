// A program run to its end for what it prints: the benchmarks of the whole game run the vornel
// program and read its last lines.
#pragma once

#include <string>
#include <vector>

namespace vornel::bench {

class ProgramOutput final {
public:
    // The standard output of the program (the first argument) on the arguments, in the
    // environment given (null: this process's); empty when it could not run or failed.
    static std::string of(std::vector<std::string> arguments, char** environment = nullptr);
};

}  // namespace vornel::bench
