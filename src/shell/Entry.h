// The program's entry and start-up: the program folder, the kind of device, display memory,
// the one window, the window host, the game object and its thread, then the message loop.
#pragma once

#include <cstdint>
#include <string>

#include "core/Ref.h"
#include "platform/Platform.h"
#include "sprites/Screen.h"

namespace vornel {

// What the launcher calls once the platform is set: answers the exit code.
int entry();

class Entry final {
public:
    // Makes the game object; called once the window exists.
    using GameFactory = Ref<Screen> (*)();

    static constexpr std::size_t kMaxModulePath = 259;  // characters before the terminator
    static constexpr int32_t kDoubleSizeWidth = 480;    // window pixels
    static constexpr const char* kTitle = "Vornel";
    static constexpr const char* kPocketPcType = "PocketPC";
    static constexpr const char* kQwertyOem = "MotoQ";

    // The whole life of the program on the current platform: answers 0 when it stops early
    // (another copy runs, no window), otherwise the quit message's code.
    static int run(GameFactory makeGame);

    // The folder part of an executable's path: everything up to and including its last '\'
    // or '/'; empty when there is none.
    static std::string folderOf(const std::string& path);

private:
    static void findProgramFolder(Platform& platform);
    static void learnDeviceKind(Platform& platform);
    static void findDisplayMemory(Platform& platform);
    static bool makeWindow(Platform& platform);
    static void placeWindow(Platform& platform);
    static void makeGameObject(GameFactory makeGame);
    static void serveMessages(Platform& platform);
    static int shutDown(Platform& platform);
};

}  // namespace vornel
