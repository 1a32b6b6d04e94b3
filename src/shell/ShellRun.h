// One run of the shell, in the handheld's order: the program folder, the kind of device,
// display memory, the one window, the window host, the game object and its thread, the
// message loop, then the shutdown.
#pragma once

#include <cstdint>
#include <string>

#include "core/Ref.h"
#include "platform/Platform.h"
#include "shell/RunConfig.h"
#include "shell/Shell.h"
#include "sprites/Screen.h"

namespace vornel {

class ShellRun final {
public:
    // Makes the game object; called once the window exists.
    using GameFactory = Ref<Screen> (*)(Shell& shell, const RunConfig& config);

    static constexpr std::size_t kMaxModulePath = 259;  // characters before the terminator
    static constexpr int32_t kDoubleSizeWidth = 480;    // window pixels
    static constexpr const char* kTitle = "Vornel";
    static constexpr const char* kPocketPcType = "PocketPC";
    static constexpr const char* kQwertyOem = "MotoQ";

    // The start-up and shutdown of the shell, on its platform.
    // The config must outlive the run.
    ShellRun(Shell& shell, const RunConfig& config)
        : m_shell(shell), m_config(config), m_state(shell.state()), m_platform(shell.platform()) {}

    // The whole life of the program: answers 0 when it stops early (another copy runs, no
    // window), otherwise the quit message's code.
    int run(GameFactory makeGame);

    // The folder part of an executable's path: everything up to and including its last '\'
    // or '/'; empty when there is none.
    static std::string folderOf(const std::string& path);

private:
    void findProgramFolder();
    void learnDeviceKind();
    void findDisplayMemory();
    bool makeWindow();
    void placeWindow();
    void makeGameObject(GameFactory makeGame);
    InputTape* tapeFor(SessionTape& demo);
    // A playback's game is asked to end its run, for a fresh game object on the rewound
    // playback in the same window; restartGame, on the window thread, starts that one.
    void askGameToEnd();
    void restartGame(GameFactory makeGame);
    void releaseGame();
    GameThread::Hooks demoHooks();
    void serveMessages(GameFactory makeGame);
    int shutDown();

    Shell& m_shell;
    const RunConfig& m_config;
    ShellState& m_state;
    Platform& m_platform;
};

}  // namespace vornel
