// The launcher's command line: which handheld to emulate, how to show it, and the test
// harness's options. The game itself reads no command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vornel {

struct LaunchOptions {
    std::string device = "pocketpc";  // a DeviceProfile name
    int32_t zoom = 0;                 // window zoom factor; 0: the largest that fits, at most 4
    bool fullscreen = false;
    bool headless = false;
    // A window on SDL's windowless drivers (dummy, offscreen) keeps real time and SDL's audio,
    // as one on a display does, instead of virtual time: a run that measures real time.
    bool realTime = false;
    // A window: device time runs this many times faster than real time (not given: 1). On
    // virtual time (headless): at most this many times faster (not given: as fast as it goes).
    int32_t speed = 0;                // 0: not given
    std::string script;               // input script file
    std::string recordAudio;          // WAV file that receives what the headless output plays
    std::string dataFolder;           // the program folder; empty: the executable's folder
    std::string saveFolder;           // empty: $XDG_DATA_HOME/vornel or ~/.local/share/vornel
    bool autoplay = false;
    std::string recordDemo;           // demo file that receives the whole session
    std::string playDemo;             // demo file to play back (in the window unless --headless)
    std::string timedemo;             // demo file to play back headless as fast as it goes
    bool stats = false;               // one line of frame and memory figures at exit
    bool listReplays = false;         // --replays: list the kept replays and exit
    bool noReplays = false;           // keep no replay of the session
    bool keepReplay = false;          // keep a replay of a headless session too
    bool seeded = false;              // --seed was given
    uint32_t seed = 0;                // the random source's start, when seeded
    bool help = false;
    bool version = false;

    // Parses the arguments after the program name. On a bad option or value answers false
    // with a one-line reason in error.
    static bool parse(const std::vector<std::string>& arguments, LaunchOptions& options, std::string& error);
    static std::string usage();

    // The demo file to play, from --play-demo or --timedemo; empty for none.
    const std::string& demoToPlay() const { return timedemo.empty() ? playDemo : timedemo; }
};

}  // namespace vornel
