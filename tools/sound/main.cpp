// Entry of the vornel-sound program: hands the arguments to SoundCommand.
#include <string>
#include <vector>

#include "sound/SoundCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vornel::SoundCommand::run(args);
}
