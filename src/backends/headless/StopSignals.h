// SIGINT and SIGTERM as a request to close the window, so that an interrupted run ends
// through the game's own shutdown. The handler only writes a byte into a pipe; a thread of its
// own (which takes no turns of device time) reads it and makes the request, which reaches the
// window's thread through its message queue like any other message. A second signal ends the
// process at once.
#pragma once

#include <functional>

namespace vornel {

class StopSignals final {
public:
    // Installs the handlers; request runs on the signals' thread for the first signal. Once
    // per process.
    static void install(std::function<void()> request);
};

}  // namespace vornel
