// The start of the program: reads the launcher's options, makes the emulated handheld
// (headless or in an SDL window on the desktop, the page's canvas in the browser), opens the
// demo, loads the input script and runs the shell's entry on the device with what the run
// needs (RunConfig).
#pragma once

#include <string>

#include "app/LaunchOptions.h"
#include "platform/Platform.h"
#include "shell/RunConfig.h"

namespace vornel {

class Launcher final {
public:
    // The shell's entry (shell/Entry.h), or a test's.
    using ShellEntry = int (*)(Platform& platform, const RunConfig& config);

    // Answers the process's exit status: the entry's, 0 after --help or --version, 2 for a
    // bad command line or script (also a --save folder that is the game's own, a file, or
    // cannot be made or written in), 1 when there is no display to open a window on or the
    // default save folder cannot be used.
    static int run(int argc, char** argv, ShellEntry entry);

    // --save DIR, else $XDG_DATA_HOME/vornel (when that is an absolute path), else
    // HOME/.local/share/vornel; empty when none can be found. Without a trailing '/'.
    static std::string resolveSaveFolder(const LaunchOptions& options, const char* xdgDataHome, const char* home);
    // --data DIR, else the executable's folder; empty with a reason when there is none.
    static std::string resolveProgramFolder(const LaunchOptions& options, std::string& error);

};

}  // namespace vornel
