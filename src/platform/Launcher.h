// The start of the program on the desktop: reads the launcher's options, makes the emulated
// handheld (headless or in an SDL window), installs its clock, loads the input script and
// runs the game's entry on it.
#pragma once

#include <string>

#include "platform/DemoSession.h"
#include "platform/LaunchOptions.h"

namespace vornel {

class Launcher final {
public:
    using Entry = int (*)();

    // Answers the process's exit status: the entry's, 0 after --help or --version, 2 for a
    // bad command line or script (also a --save folder that is the game's own, a file, or
    // cannot be made or written in), 1 when there is no display to open a window on or the
    // default save folder cannot be used.
    static int run(int argc, char** argv, Entry entry);

    // What the launcher was told; defaults until run() has parsed the command line.
    static const LaunchOptions& options();
    // The player's save folder with a trailing '/', made when first asked for.
    static std::string saveFolder();
    // Whether the emulated handheld has a pen (a touch screen).
    static bool deviceHasPen();
    // The demo being recorded or played back; null for none.
    static DemoSession* demo();

    // --save DIR, else $XDG_DATA_HOME/vornel (when that is an absolute path), else
    // HOME/.local/share/vornel; empty when none can be found. Without a trailing '/'.
    static std::string resolveSaveFolder(const LaunchOptions& options, const char* xdgDataHome, const char* home);
    // --data DIR, else the executable's folder; empty with a reason when there is none.
    static std::string resolveProgramFolder(const LaunchOptions& options, std::string& error);

private:
    // The run once the command line is read and the demo, if any, opened.
    static int launch(const LaunchOptions& options, Entry entry);
};

}  // namespace vornel
