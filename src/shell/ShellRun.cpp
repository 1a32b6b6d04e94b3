// Start-up, message loop and shutdown, in the handheld's order.
#include "shell/ShellRun.h"

#include "game/GameScene.h"
#include "media/SoundPlayer.h"
#include "shell/Entry.h"
#include "shell/MatchWatch.h"
#include "shell/WindowHost.h"

namespace vornel {

namespace {

// The one game object, played by the built-in player when the launcher asks for it.
Ref<Screen> makeGame(Shell& shell, const RunConfig& config) {
    Ref<GameScene> game = new GameScene();
    if (config.autoplay && !(config.demo != nullptr && config.demo->isPlaying())) {  // a demo brings its own keys
        game->enableAutoplay(&shell.autoplayKeys());
    }
    return game;
}

}  // namespace

int entry(Platform& platform, const RunConfig& config) {
    auto* shell = new Shell(platform);
    const int exitCode = ShellRun(*shell, config).run(&makeGame);
    // A game thread left running may still present a frame or press a key: what it uses
    // must live until the process ends.
    if (!shell->gameThread().wasLeftRunning()) {
        delete shell;
    }
    return exitCode;
}

int ShellRun::run(GameFactory makeGame) {
    m_state.m_demo = m_config.demo;
    findProgramFolder();
    learnDeviceKind();
    findDisplayMemory();
    const bool silent = m_state.m_demo != nullptr && m_state.m_demo->runsFlatOut();
    SoundPlayer::instance().setWaveOutput(silent ? nullptr : &m_platform.waveOutput());
    if (!makeWindow()) {
        return 0;
    }
    m_state.m_windowHost = new WindowHost(m_state, m_platform);
    makeGameObject(makeGame);
    m_shell.gameThread().start(m_state.m_game, demoHooks(), &m_platform);
    if (m_state.m_demo != nullptr && m_state.m_demo->isPlaying()) {
        m_state.m_demo->offerRestart([this] { askGameToEnd(); });
    }
    serveMessages(makeGame);
    if (m_state.m_demo != nullptr) {
        m_state.m_demo->offerRestart(nullptr);
    }
    return shutDown();
}

// As at the shutdown, the game is asked to end its run; the message loop starts the fresh one
// once it has.
void ShellRun::askGameToEnd() {
    m_state.m_restarting = true;
    m_state.m_shuttingDown = true;
    if (m_state.m_game) {
        m_state.m_game->input().setPaused(false);
    }
}

// A game that will not end in time is left as the shutdown leaves it, and the window closes.
void ShellRun::restartGame(GameFactory makeGame) {
    const bool ended = m_shell.gameThread().finish();
    SoundPlayer::instance().stopSound();
    m_state.m_restarting = false;
    if (!ended) {
        m_state.m_windowHost->closeWindow();
        return;
    }
    m_state.m_demo->rewind();
    releaseGame();
    m_state.m_paintPending = false;
    m_state.m_shuttingDown = false;
    makeGameObject(makeGame);
    m_shell.gameThread().start(m_state.m_game, demoHooks(), &m_platform);
}

void ShellRun::releaseGame() {
    m_state.m_matchWatch.reset();
    if (m_state.m_game) {
        m_state.m_game->clear();  // children and parents hold each other: break the cycles first
    }
    m_state.m_game = nullptr;
}

std::string ShellRun::folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// The data files lie beside the executable.
void ShellRun::findProgramFolder() {
    std::string path = m_platform.modulePath();
    if (path.size() > kMaxModulePath) {
        path.resize(kMaxModulePath);  // the handheld's path buffer holds no more
    }
    m_state.m_programFolder = folderOf(path);
    // The player's own folder keeps the settings file; the run's time is the platform's unless
    // a demo tapes it.
    m_state.m_context.emplace(m_state.m_programFolder, m_config.saveFolder,
                              m_config.clock != nullptr ? m_config.clock : &m_platform.clock());
    if (m_config.demo != nullptr && m_config.demo->isPlaying()) {
        m_state.m_context->setSavesThrownAway();  // the playback's private folder
    }
}

void ShellRun::learnDeviceKind() {
    std::string type;
    m_state.m_pocketPc = m_platform.systemParameter(Platform::kPlatformType, type) && type == kPocketPcType;
}

// Some drivers report their 5-6-5 memory as format 33; any other format is not written.
void ShellRun::findDisplayMemory() {
    RawFrameBuffer record;
    if (!m_platform.queryRawFrameBuffer(record)) {
        return;
    }
    if (record.format == RawFrameBuffer::kFormat565Alternate && record.bitsPerPixel == 16) {
        record.format = RawFrameBuffer::kFormat565;
    }
    m_state.m_rawFrameBuffer = record;
    m_state.m_rawFrameBufferUsable = record.format == RawFrameBuffer::kFormat565;
}

bool ShellRun::makeWindow() {
    std::string oem;
    if (!m_platform.systemParameter(Platform::kOemInfo, oem)) {
        oem.clear();
    }
    m_state.m_qwerty = oem == kQwertyOem;  // exactly: "motoq" or "MotoQ9" are other devices
    if (m_platform.findRunningCopy()) {
        return false;  // the running copy has come to the front; one copy is enough
    }
    if (!m_platform.createWindow(kTitle, m_shell)) {
        return false;
    }
    placeWindow();
    m_platform.showWindow();
    return true;
}

// A window 480 pixels wide or more shows the game at twice its size; its display memory is
// then not written, since the game's pixels would have to be doubled on the way.
void ShellRun::placeWindow() {
    const Rect rect = m_platform.windowRect();
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    m_state.m_doubleSize = width >= kDoubleSizeWidth;
    if (m_state.m_doubleSize) {
        m_state.m_rawFrameBufferUsable = false;
    }
    m_state.m_screenWidth = width;
    m_state.m_screenHeight = height;
    if (!m_state.m_pocketPc) {
        // A Smartphone's window reaches down to the bottom of the screen.
        m_state.m_screenHeight = rect.bottom;
        m_platform.moveWindow(rect.left, rect.top, width, rect.bottom);
    } else {
        m_state.m_touchLayout = true;
    }
}

// The game gets its host first, then its size in game pixels. A demo tapes what the game
// takes from outside from here on: the host's first tick read is on this thread.
void ShellRun::makeGameObject(GameFactory makeGame) {
    m_state.m_game = makeGame(m_shell, m_config);
    if (!m_state.m_game) {
        return;
    }
    m_state.m_game->setTouchScreen(m_state.m_touchLayout.load());
    if (m_state.m_demo != nullptr) {
        m_state.m_demo->tapeThisThread();
        m_state.m_game->setTape(tapeFor(*m_state.m_demo));
    }
    m_state.m_game->setHost(m_state.m_windowHost);
    const int32_t width = m_state.m_screenWidth;
    const int32_t height = m_state.m_screenHeight;
    if (m_state.m_doubleSize) {
        m_state.m_game->setSize(width / 2, height / 2);
    } else {
        m_state.m_game->setSize(width, height);
    }
}

// A recording indexes the games it holds; the game object is ours when the factory is.
InputTape* ShellRun::tapeFor(SessionTape& demo) {
    const auto* game = dynamic_cast<const GameScene*>(m_state.m_game.get());
    if (demo.isPlaying() || game == nullptr) {
        return &demo.tape();
    }
    m_state.m_matchWatch = std::make_unique<MatchWatch>(demo, *game);
    return m_state.m_matchWatch.get();
}

// The game thread becomes the demo's taped thread before the game runs; when a played-back
// game has ended its run, the window closes as it did at the end of the recording.
GameThread::Hooks ShellRun::demoHooks() {
    SessionTape* demo = m_state.m_demo;
    if (demo == nullptr) {
        return {};
    }
    WindowHost* host = m_state.m_windowHost.get();  // the shell outlives the game thread
    const std::atomic<bool>* restarting = &m_state.m_restarting;
    Platform* platform = &m_platform;
    return {[demo] { demo->gameStarts(); },
            [demo, host, restarting, platform] {
                demo->gameEnded();
                if (restarting->load()) {
                    platform->invalidateRect(Rect{0, 0, 1, 1});  // the message loop looks again
                } else if (demo->isPlaying()) {
                    host->closeWindow();
                }
            }};
}

// A game asked to end for a fresh one is replaced between two messages: a platform without
// threads has its body back only once it has returned.
void ShellRun::serveMessages(GameFactory makeGame) {
    WindowMessage message;
    while (m_platform.getMessage(message)) {
        m_platform.dispatchMessage(message);
        if (m_state.m_restarting.load()) {
            restartGame(makeGame);
        }
    }
}

// The game is asked to end its run before the sound stops, so that it asks for no more
// sounds: a paused game is let go, and presenting stops waiting for paints that will never
// come.
int ShellRun::shutDown() {
    m_state.m_shuttingDown = true;
    if (m_state.m_demo != nullptr) {
        m_state.m_demo->windowCloses();
    }
    if (m_state.m_game) {
        m_state.m_game->input().setPaused(false);
    }
    m_shell.gameThread().finish();
    SoundPlayer::instance().stopSound();
    // The platform's wave output is not the sound player's beyond the run: a game thread left
    // running asks in vain, and the next run (a test's) brings its own.
    SoundPlayer::instance().setWaveOutput(nullptr);
    return m_platform.quitCode();
}

}  // namespace vornel
