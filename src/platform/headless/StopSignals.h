// SIGINT and SIGTERM as a request to close the window, so that an interrupted headless run
// ends through the game's own shutdown. A second signal ends the process at once.
#pragma once

namespace vornel {

class StopSignals final {
public:
    static void install();
    // Whether a signal arrived since the last call.
    static bool takeRequest();
};

}  // namespace vornel
