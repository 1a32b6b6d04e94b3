// What the game's designed operations read without being handed it, as the handheld's system
// kept it for them: the folder of the data files (openStream, playSound), the player's folder
// for the settings file, and device time (tickCount, sleepMilliseconds). The run sets one up
// for as long as it lasts, a test for as long as it needs one. Contexts nest: the newest live
// one is current, and when it ends the newest of those still alive is current again. With
// none, files are found in the working folder and time is the system's.
#pragma once

#include <string>

#include "core/Clock.h"

namespace vornel {

class RunContext final {
public:
    // Each folder gets its separator when missing; an empty save folder keeps the settings
    // file in the program folder. A null clock keeps the current context's.
    explicit RunContext(std::string programFolder, std::string saveFolder = {}, Clock* clock = nullptr);
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;
    ~RunContext();

    // Any thread; set up before the threads that read it start.
    static const RunContext& current();

    const std::string& programFolder() const { return m_programFolder; }
    const std::string& saveFolder() const { return m_saveFolder; }
    Clock& clock() const { return m_clock; }
    // Whether a save must survive a power cut: not in a playback's private folder, which is
    // thrown away with the run. Set before the threads that read it start.
    bool keepsSavesDurable() const { return m_keepsSavesDurable; }
    void setSavesThrownAway() { m_keepsSavesDurable = false; }

private:
    RunContext();  // the one in place when none is set up

    const std::string m_programFolder;
    const std::string m_saveFolder;
    Clock& m_clock;
    bool m_keepsSavesDurable = true;
    // The live contexts, oldest to newest (guarded by the list's lock).
    RunContext* m_older = nullptr;
    RunContext* m_newer = nullptr;
};

}  // namespace vornel
