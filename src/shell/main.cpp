// The vornel program: the launcher sets up the emulated handheld and runs the game's entry on it.
#include "platform/Launcher.h"
#include "shell/Entry.h"

int main(int argc, char** argv) {
    return vornel::Launcher::run(argc, argv, &vornel::entry);
}
