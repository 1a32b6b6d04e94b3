// What the program's top learned for the run and hands the shell's entry.
#pragma once

#include <string>

#include "core/Clock.h"
#include "demo/SessionTape.h"

namespace vornel {

struct RunConfig {
    // The player's folder for the settings file, with its separator; empty: the program folder.
    std::string saveFolder;
    // The demo being recorded or played back; null for none. It outlives the run.
    SessionTape* demo = nullptr;
    // The built-in player plays the game (a demo played back brings its own keys instead).
    bool autoplay = false;
    // The clock the game's time services read (a demo's tapes the game thread's reads); null:
    // the platform's.
    Clock* clock = nullptr;
};

}  // namespace vornel
