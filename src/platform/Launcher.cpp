// The launcher.
#include "platform/Launcher.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/FrameStats.h"
#include "core/Random.h"
#include "core/SaveFolder.h"
#include "core/Version.h"
#include "platform/ClockWatchdog.h"
#include "platform/DeviceMaker.h"
#include "platform/DeviceProfile.h"
#include "platform/InputScript.h"
#include "platform/WavRecorder.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

constexpr int kBadCommandLine = 2;
constexpr int kNoDisplay = 1;
constexpr int kNoSaveFolder = 1;  // the default folder from the environment cannot be used

struct LaunchState {
    LaunchOptions options;
    std::string saveFolder;
    bool pen = DeviceProfile::defaultProfile().pen;
    std::unique_ptr<WavRecorder> recorder;  // written by the wave output until the process ends
    std::unique_ptr<DemoSession> demo;
};

// Never destroyed: the game thread may still ask while the process exits.
LaunchState& state() {
    static LaunchState* const launched = new LaunchState();
    return *launched;
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

// stats: frames=N cpu_us_per_frame=X frame_ms_p50=A frame_ms_p99=B frame_ms_max=C max_rss_kb=Y
// checksum=HEX, where the CPU time is that of the whole process (window, game and audio
// threads), the frame lengths are in device milliseconds and the checksum is that of every
// frame the game presented, as a demo's.
void printStats() {
    const FrameStats::Summary frames = FrameStats::summary();
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const int64_t cpuUs = (static_cast<int64_t>(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000 +
                          usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    const int64_t perFrame = frames.frames > 0 ? cpuUs / frames.frames : 0;
    std::printf("stats: frames=%lld cpu_us_per_frame=%lld frame_ms_p50=%d frame_ms_p99=%d frame_ms_max=%d "
                "max_rss_kb=%ld checksum=%08" PRIx32 "\n",
                static_cast<long long>(frames.frames), static_cast<long long>(perFrame), frames.medianMs,
                frames.p99Ms, frames.maxMs, usage.ru_maxrss, FrameStats::checksum());
    std::fflush(stdout);
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
int runWatched(EmulatedDevice& device, Launcher::Entry entry) {
    auto* virtualClock = dynamic_cast<VirtualClock*>(&device.deviceClock());
    std::unique_ptr<ClockWatchdog> watchdog =
        virtualClock != nullptr ? std::make_unique<ClockWatchdog>(*virtualClock) : nullptr;
    const int status = entry();
    device.stopThreads();
    device.waveOutput().close();  // the recording then ends where the run ended
    device.windowThreadLeaves();
    return status;
}

}  // namespace

const LaunchOptions& Launcher::options() {
    return state().options;
}

std::string Launcher::saveFolder() {
    const std::string& folder = state().saveFolder;
    if (folder.empty()) {
        return folder;
    }
    std::error_code failure;
    fs::create_directories(folder, failure);
    return folder + "/";
}

bool Launcher::deviceHasPen() {
    return state().pen;
}

DemoSession* Launcher::demo() {
    return state().demo.get();
}

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

int Launcher::run(int argc, char** argv, Entry entry) {
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
    std::unique_ptr<DemoSession>& demo = state().demo;
    if (!options.recordDemo.empty() || !options.demoToPlay().empty()) {
        demo = DemoSession::open(options, error);
        if (!demo) {
            std::fprintf(stderr, "vornel: %s\n", error.c_str());
            return kBadCommandLine;
        }
    }
    const int status = launch(options, entry);
    if (demo) {
        demo->removePrivateFolder();  // the launch state outlives the run: nothing else would
    }
    return status;
}

int Launcher::launch(const LaunchOptions& options, Entry entry) {
    DemoSession* demo = state().demo.get();
    std::string error;
    EmulatedDevice::Setup setup;
    setup.programFolder = resolveProgramFolder(options, error);
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
        state().recorder = std::make_unique<WavRecorder>();
        if (!state().recorder->open(options.recordAudio, error)) {
            return badCommandLine("--record-audio: " + error);
        }
    }
    state().options = options;
    state().saveFolder = setup.saveFolder;
    state().pen = profile.pen;
    EmulatedDevice* device = DeviceMaker::make(options, profile, std::move(setup), state().recorder.get());
    if (device == nullptr) {
        return kNoDisplay;
    }
    if (demo && !demo->start(std::string(profile.name), state().saveFolder, seedOf(options, *device), error)) {
        std::fprintf(stderr, "vornel: %s\n", error.c_str());
        return kBadCommandLine;
    }
    if (!demo && options.seeded) {
        seedRandom(options.seed);
    }
    if (!options.script.empty()) {
        device->setScript(std::move(script), options.headless);
    }
    Platform::setCurrent(device);
    Clock::install(&device->clock());
    if (demo) {
        demo->attach(*device);
    }
    FrameStats::keepChecksum(options.stats);
    const int status = runWatched(*device, entry);
    if (demo) {
        demo->report();
    }
    if (options.stats) {
        printStats();
    }
    return status;
}

}  // namespace vornel
