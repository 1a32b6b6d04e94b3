// The launcher.
#include "app/Launcher.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/DeviceMaker.h"
#include "app/StatsLine.h"
#include "core/FrameStats.h"
#include "core/Random.h"
#include "core/SaveFolder.h"
#include "core/Version.h"
#include "device/ClockWatchdog.h"
#include "demo/DemoSession.h"
#include "demo/ReplayShelf.h"
#include "demo/ReplayViewer.h"
#include "device/DeviceProfile.h"
#include "harness/InputScript.h"
#include "harness/ScriptInputSink.h"
#include "harness/ScriptRunner.h"
#include "harness/WavRecorder.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

constexpr int kBadCommandLine = 2;
constexpr int kNoDisplay = 1;
constexpr int kNoSaveFolder = 1;  // the default folder from the environment cannot be used

// What a run is made of. Each run (a process has one; a test may make more) is kept until the
// process ends, and read by nothing but the launcher: a game thread left running (one that
// did not end its run within a second) may still use the device, the demo and the recording
// while the process exits.
struct Run {
    LaunchOptions options;
    RunConfig config;
    std::unique_ptr<WavRecorder> recorder;  // written by the wave output until the process ends
    std::unique_ptr<DemoSession> demo;
    uint32_t startFrame = 0;  // a kept game's first frame, where its replay starts
    std::unique_ptr<ReplayViewer> viewer;
    EmulatedDevice* device = nullptr;
    std::unique_ptr<ScriptInputSink> scriptInput;
    std::unique_ptr<ScriptRunner> script;
};

Run& freshRun() {
    static auto* const runs = new std::vector<std::unique_ptr<Run>>();
    return *runs->emplace_back(std::make_unique<Run>());
}

int badCommandLine(const std::string& problem) {
    std::fprintf(stderr, "vornel: %s\n%s", problem.c_str(), LaunchOptions::usage().c_str());
    return kBadCommandLine;
}

std::string absoluteOf(const std::string& path) {
    std::error_code failure;
    const fs::path absolute = fs::absolute(path, failure);
    return failure ? path : absolute.lexically_normal().string();
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The same folder however it is spelled: links, "dir/." and "dir/../dir" resolved, also for
// a folder that does not exist yet.
bool isSameFolder(const std::string& a, const std::string& b) {
    std::error_code failure;
    const fs::path first = fs::weakly_canonical(a, failure);
    if (failure) {
        return false;
    }
    const fs::path second = fs::weakly_canonical(b, failure);
    return !failure && first == second;
}

// The settings file "vornel" would be renamed over the program of that name, or would put a
// player's file among the installed data.
bool isGamesOwnFolder(const std::string& saveFolder, const std::string& programFolder) {
    std::error_code failure;
    const fs::path executable = fs::read_symlink("/proc/self/exe", failure);
    return isSameFolder(saveFolder, programFolder) ||
           (!failure && isSameFolder(saveFolder, executable.parent_path().string()));
}

// Refuses a save folder that is the game's own or cannot take a file, with one line: status
// 2 when --save named it, else kNoSaveFolder.
int refuseUnusableSaveFolder(const LaunchOptions& options, const EmulatedDevice::Setup& setup) {
    const std::string source = options.saveFolder.empty() ? "the save folder: " : "--save: ";
    const std::string advice = options.saveFolder.empty() ? "; give --save DIR" : "; choose another folder";
    std::string problem;
    if (isGamesOwnFolder(setup.saveFolder, setup.programFolder)) {
        problem = setup.saveFolder + " is the game's own folder (the program and its data)";
    } else if (SaveFolder::prepare(setup.saveFolder, problem)) {
        return 0;
    }
    std::fprintf(stderr, "vornel: %s%s%s\n", source.c_str(), problem.c_str(), advice.c_str());
    return options.saveFolder.empty() ? kNoSaveFolder : kBadCommandLine;
}

// The player's folder, refused when unusable; a demo played back gets a private one instead.
int chooseSaveFolder(const LaunchOptions& options, const DemoSession* demo, EmulatedDevice::Setup& setup) {
    if (demo && demo->isPlaying()) {
        setup.saveFolder = demo->privateSaveFolder();
        return 0;
    }
    setup.saveFolder = Launcher::resolveSaveFolder(options, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (setup.saveFolder.empty()) {
        return badCommandLine("no save folder: give --save DIR, or set HOME or XDG_DATA_HOME");
    }
    return refuseUnusableSaveFolder(options, setup);
}

// A script for a handheld without a pen may not tap or drag.
bool loadScript(const LaunchOptions& options, const DeviceProfile& profile, InputScript& script) {
    std::string error;
    if (!InputScript::load(options.script, script, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (const int32_t line = script.firstPenLine(); line != 0 && !profile.pen) {
        std::fprintf(stderr, "script %s:%d: the %s has no pen\n", options.script.c_str(), line,
                     std::string(profile.name).c_str());
        return false;
    }
    return true;
}

// A recording's seed: --seed, else what the game would have seeded itself with, the device's
// ticks (on virtual time the same in every run, so a run and its recording agree), else the
// real clock's milliseconds, so that recorded games differ as played ones do.
uint32_t seedOf(const LaunchOptions& options, EmulatedDevice& device) {
    if (options.seeded) {
        return options.seed;
    }
    if (device.hasVirtualTime()) {
        return device.deviceClock().ticks();
    }
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

// The entry's run and the end of every thread of the device: the window's thread takes its
// turns of virtual time until the script and the audio output have ended, under the watch
// of a watchdog.
int runWatched(Run& run, Launcher::ShellEntry entry) {
    EmulatedDevice& device = *run.device;
    auto* virtualClock = dynamic_cast<VirtualClock*>(&device.deviceClock());
    std::unique_ptr<ClockWatchdog> watchdog =
        virtualClock != nullptr ? std::make_unique<ClockWatchdog>(*virtualClock) : nullptr;
    const int status = entry(device, run.config);
    if (run.script) {
        run.script->stop();
    }
    device.stopThreads();
    device.waveOutput().close();  // the recording then ends where the run ended
    device.windowThreadLeaves();
    return status;
}

}  // namespace

std::string Launcher::resolveSaveFolder(const LaunchOptions& options, const char* xdgDataHome, const char* home) {
    if (!options.saveFolder.empty()) {
        return withoutTrailingSlash(absoluteOf(options.saveFolder));
    }
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return withoutTrailingSlash(xdgDataHome) + "/vornel";
    }
    if (home != nullptr && home[0] != '\0') {
        return withoutTrailingSlash(home) + "/.local/share/vornel";
    }
    return "";
}

std::string Launcher::resolveProgramFolder(const LaunchOptions& options, std::string& error) {
    std::error_code failure;
    if (!options.dataFolder.empty()) {
        const std::string folder = withoutTrailingSlash(absoluteOf(options.dataFolder));
        if (!fs::is_directory(folder, failure)) {
            error = "--data: no folder " + options.dataFolder;
            return "";
        }
        return folder;
    }
    const fs::path executable = fs::read_symlink("/proc/self/exe", failure);
    if (failure) {
        error = "cannot find the executable's folder: " + failure.message();
        return "";
    }
    return executable.parent_path().string();
}

namespace {

// The player's folder with its separator, made when missing (a demo's private one is made).
std::string saveFolderForRun(const std::string& folder) {
    std::error_code failure;
    fs::create_directories(folder, failure);
    return folder + "/";
}

// The script runs from the moment the window is shown; an SDL window takes its input as
// events of its own.
void prepareScript(Run& run, InputScript script) {
    run.scriptInput = DeviceMaker::scriptInputFor(*run.device);
    run.script = std::make_unique<ScriptRunner>(*run.device, std::move(script), run.options.headless,
                                                run.scriptInput.get());
    run.script->startWhenShown();
}

// A window or the page keeps every session as a replay, unless told not to; a headless run
// only when asked.
bool keepsReplay(const LaunchOptions& options) {
    return options.recordDemo.empty() && options.demoToPlay().empty() && !options.noReplays &&
           (!options.headless || options.keepReplay);
}

// A replay that cannot be started costs the replay alone.
DemoSession* startReplay(Run& run, const DeviceProfile& profile, const std::string& saveFolder) {
    std::string error;
    if (!run.demo->start(std::string(profile.name), saveFolder, seedOf(run.options, *run.device), error)) {
        std::fprintf(stderr, "vornel: no replay is kept of this session: %s\n", error.c_str());
        return nullptr;
    }
    return run.demo.get();
}

// The run once the command line is read and the demo, if any, opened.
int launch(Run& run, Launcher::ShellEntry entry) {
    const LaunchOptions& options = run.options;
    DemoSession* demo = run.demo.get();
    std::string error;
    EmulatedDevice::Setup setup;
    setup.programFolder = Launcher::resolveProgramFolder(options, error);
    if (setup.programFolder.empty()) {
        return badCommandLine(error);
    }
    if (const int refused = chooseSaveFolder(options, demo, setup); refused != 0) {
        return refused;
    }
    const DeviceProfile& profile = *DeviceProfile::find(demo && demo->isPlaying() ? demo->profile() : options.device);
    InputScript script;
    if (!options.script.empty() && !loadScript(options, profile, script)) {
        return kBadCommandLine;
    }
    setup.speed = options.speed;
    if (!options.recordAudio.empty()) {
        run.recorder = std::make_unique<WavRecorder>();
        if (!run.recorder->open(options.recordAudio, error)) {
            return badCommandLine("--record-audio: " + error);
        }
    }
    const std::string saveFolder = setup.saveFolder;
    if (!demo && keepsReplay(options)) {
        run.demo = DemoSession::keep(saveFolder);
    }
    run.device = DeviceMaker::make(options, profile, std::move(setup), run.recorder.get(), run.demo.get());
    if (run.device == nullptr) {
        return kNoDisplay;
    }
    EmulatedDevice& device = *run.device;
    if (!demo && run.demo) {
        demo = startReplay(run, profile, saveFolder);
    } else if (demo && !demo->start(std::string(profile.name), saveFolder, seedOf(options, device), error)) {
        std::fprintf(stderr, "vornel: %s\n", error.c_str());
        return kBadCommandLine;
    }
    if (!demo && options.seeded) {
        seedRandom(options.seed);
    }
    if (!options.script.empty()) {
        prepareScript(run, std::move(script));
    }
    if (demo) {
        demo->attach(device);
    }
    if (demo && demo->pace() != nullptr && !options.headless) {
        run.viewer = std::make_unique<ReplayViewer>(*demo);
        device.setReplayControls(run.viewer.get());
    }
    if (demo && run.startFrame > 0) {
        demo->startAt(run.startFrame);
    }
    run.config = {saveFolderForRun(saveFolder), demo, options.autoplay, demo ? &demo->clock() : &device.clock()};
    FrameStats::ofThisProcess().keepChecksum(options.stats);
    const int status = runWatched(run, entry);
    if (demo) {
        demo->report();
    }
    if (options.stats) {
        StatsLine::print();
    }
    return status;
}

std::string saveFolderOf(const LaunchOptions& options) {
    return Launcher::resolveSaveFolder(options, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

// One line a kept game, oldest first.
int listReplays(const LaunchOptions& options) {
    const std::string saveFolder = saveFolderOf(options);
    if (saveFolder.empty()) {
        return badCommandLine("no save folder: give --save DIR, or set HOME or XDG_DATA_HOME");
    }
    const ReplayShelf shelf(saveFolder);
    const std::vector<ReplayShelf::Entry> entries = shelf.list();
    if (entries.empty()) {
        std::printf("No replays are kept in %s yet.\n", shelf.folder().c_str());
        return 0;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::puts(ReplayShelf::lineFor(entries[i], i + 1).c_str());
    }
    return 0;
}

// "last" or a number of the list becomes the replay's file, and its game's first frame the
// place the playback starts (as frames ended).
bool resolveReplay(LaunchOptions& options, uint32_t& startFrame, std::string& error) {
    std::string& which = options.timedemo.empty() ? options.playDemo : options.timedemo;
    const std::string saveFolder = saveFolderOf(options);
    const std::vector<ReplayShelf::Entry> entries =
        saveFolder.empty() ? std::vector<ReplayShelf::Entry>() : ReplayShelf(saveFolder).list();
    const ReplayShelf::Entry* entry = ReplayShelf::find(entries, which, error);
    if (entry == nullptr) {
        return false;
    }
    which = entry->path;
    startFrame = entry->game && entry->game->firstFrame > 0 ? entry->game->firstFrame + 1 : 0;
    return true;
}

}  // namespace

int Launcher::run(int argc, char** argv, ShellEntry entry) {
    LaunchOptions options;
    std::string error;
    if (!LaunchOptions::parse(std::vector<std::string>(argv + std::min(argc, 1), argv + argc), options, error)) {
        return badCommandLine(error);
    }
    if (options.help) {
        std::fputs(LaunchOptions::usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts(kNameAndVersion);
        return 0;
    }
    if (options.listReplays) {
        return listReplays(options);
    }
    uint32_t startFrame = 0;
    if (ReplayShelf::namesReplay(options.demoToPlay()) && !resolveReplay(options, startFrame, error)) {
        std::fprintf(stderr, "vornel: %s\n", error.c_str());
        return kBadCommandLine;
    }
    Run& run = freshRun();
    run.options = options;
    run.startFrame = startFrame;
    if (!options.recordDemo.empty()) {
        run.demo = DemoSession::record(options.recordDemo);
    } else if (!options.demoToPlay().empty()) {
        run.demo = DemoSession::play(options.demoToPlay(), !options.timedemo.empty(), error);
        if (!run.demo) {
            std::fprintf(stderr, "vornel: %s\n", error.c_str());
            return kBadCommandLine;
        }
    }
    const int status = launch(run, entry);
    if (run.demo) {
        run.demo->removePrivateFolder();  // the run outlives this: nothing else would
    }
    return status;
}

}  // namespace vornel
