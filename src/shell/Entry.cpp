// Start-up, message loop and shutdown, in the handheld's order.
#include "shell/Entry.h"

#include "core/ProgramFolder.h"
#include "core/SaveFolder.h"
#include "game/GameScene.h"
#include "media/SoundPlayer.h"
#include "platform/Launcher.h"
#include "shell/AutoplayKeys.h"
#include "shell/GameThread.h"
#include "shell/ShellState.h"
#include "shell/WindowHost.h"
#include "shell/WindowProcedure.h"
#include "sprites/Menu.h"

namespace vornel {

namespace {

// The one game object, played by the built-in player when the launcher asks for it.
Ref<Screen> makeGame() {
    Ref<GameScene> game = new GameScene();
    if (Launcher::options().autoplay) {
        game->enableAutoplay(&AutoplayKeys::instance());
    }
    return game;
}

}  // namespace

int entry() {
    return Entry::run(&makeGame);
}

int Entry::run(GameFactory makeGame) {
    Platform& platform = Platform::current();
    findProgramFolder(platform);
    learnDeviceKind(platform);
    findDisplayMemory(platform);
    SoundPlayer::instance().setWaveOutput(&platform.waveOutput());
    if (!makeWindow(platform)) {
        return 0;
    }
    ShellState::instance().m_windowHost = new WindowHost();
    makeGameObject(makeGame);
    GameThread::start();
    serveMessages(platform);
    return shutDown(platform);
}

std::string Entry::folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// The data files lie beside the executable.
void Entry::findProgramFolder(Platform& platform) {
    std::string path = platform.modulePath();
    if (path.size() > kMaxModulePath) {
        path.resize(kMaxModulePath);  // the handheld's path buffer holds no more
    }
    ShellState& shell = ShellState::instance();
    shell.m_programFolder = folderOf(path);
    ProgramFolder::set(shell.m_programFolder);
    SaveFolder::set(Launcher::saveFolder());  // the player's own folder for the settings file
}

void Entry::learnDeviceKind(Platform& platform) {
    std::string type;
    ShellState::instance().m_pocketPc = platform.systemParameter(Platform::kPlatformType, type) && type == kPocketPcType;
}

// Some drivers report their 5-6-5 memory as format 33; any other format is not written.
void Entry::findDisplayMemory(Platform& platform) {
    ShellState& shell = ShellState::instance();
    RawFrameBuffer record;
    if (!platform.queryRawFrameBuffer(record)) {
        return;
    }
    if (record.format == RawFrameBuffer::kFormat565Alternate && record.bitsPerPixel == 16) {
        record.format = RawFrameBuffer::kFormat565;
    }
    shell.m_rawFrameBuffer = record;
    shell.m_rawFrameBufferUsable = record.format == RawFrameBuffer::kFormat565;
}

bool Entry::makeWindow(Platform& platform) {
    ShellState& shell = ShellState::instance();
    std::string oem;
    if (!platform.systemParameter(Platform::kOemInfo, oem)) {
        oem.clear();
    }
    shell.m_qwerty = oem == kQwertyOem;  // exactly: "motoq" or "MotoQ9" are other devices
    if (platform.findRunningCopy()) {
        return false;  // the running copy has come to the front; one copy is enough
    }
    if (!platform.createWindow(kTitle, &WindowProcedure::mainWindowProc)) {
        return false;
    }
    placeWindow(platform);
    platform.showWindow();
    return true;
}

// A window 480 pixels wide or more shows the game at twice its size; its display memory is
// then not written, since the game's pixels would have to be doubled on the way.
void Entry::placeWindow(Platform& platform) {
    ShellState& shell = ShellState::instance();
    const Rect rect = platform.windowRect();
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    shell.m_doubleSize = width >= kDoubleSizeWidth;
    if (shell.m_doubleSize) {
        shell.m_rawFrameBufferUsable = false;
    }
    shell.m_screenWidth = width;
    shell.m_screenHeight = height;
    if (!shell.m_pocketPc) {
        // A Smartphone's window reaches down to the bottom of the screen.
        shell.m_screenHeight = rect.bottom;
        platform.moveWindow(rect.left, rect.top, width, rect.bottom);
    } else {
        shell.m_touchLayout = true;
        Menu::setTouchScreen(true);
    }
}

// The game gets its host first, then its size in game pixels.
void Entry::makeGameObject(GameFactory makeGame) {
    ShellState& shell = ShellState::instance();
    shell.m_game = makeGame();
    if (!shell.m_game) {
        return;
    }
    shell.m_game->setHost(shell.m_windowHost);
    const int32_t width = shell.m_screenWidth;
    const int32_t height = shell.m_screenHeight;
    if (shell.m_doubleSize) {
        shell.m_game->setSize(width / 2, height / 2);
    } else {
        shell.m_game->setSize(width, height);
    }
}

void Entry::serveMessages(Platform& platform) {
    WindowMessage message;
    while (platform.getMessage(message)) {
        platform.dispatchMessage(message);
    }
}

// The game is asked to end its run before the sound stops, so that it asks for no more
// sounds: a paused game is let go, and presenting stops waiting for paints that will never
// come.
int Entry::shutDown(Platform& platform) {
    ShellState& shell = ShellState::instance();
    shell.m_shuttingDown = true;
    if (shell.m_game) {
        shell.m_game->input().setPaused(false);
    }
    GameThread::finish();
    SoundPlayer::instance().stopSound();
    return platform.quitCode();
}

}  // namespace vornel
