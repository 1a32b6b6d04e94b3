// Entry of the vornel-font program: hands the arguments to FontCommand.
#include <string>
#include <vector>

#include "font/FontCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vornel::FontCommand::run(args);
}
