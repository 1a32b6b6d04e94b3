// The vornel program: the launcher makes the emulated handheld and runs the shell's entry on it.
#include "app/Launcher.h"
#include "shell/Entry.h"

int main(int argc, char** argv) {
    return vornel::Launcher::run(argc, argv, &vornel::entry);
}
