// The browser's device: the page's canvas, and the page's way to the kept replays and the
// replay viewer.
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "app/DeviceMaker.h"
#include "backends/web/WebDevice.h"
#include "demo/ReplayShelf.h"
#include "demo/ReplayViewer.h"

namespace vornel {
namespace {

// The run's demo, for the page's question below, and the save folder that keeps the replays;
// set once, before the entry runs.
const DemoSession* g_demo = nullptr;
std::string g_saveFolder;

ReplayViewer* viewer() {
    WebDevice* device = WebDevice::current();
    return device != nullptr ? dynamic_cast<ReplayViewer*>(device->replayControls()) : nullptr;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonOf(const ReplayShelf::Entry& entry, std::size_t number) {
    std::string json = "{\"number\":" + std::to_string(number) + ",\"file\":" + quoted(entry.path);
    if (entry.damaged()) {
        return json + ",\"damaged\":" + quoted(entry.problem) + "}";
    }
    std::string score = "no game";
    if (entry.game) {
        score = std::to_string(entry.game->playerPoints) + ":" + std::to_string(entry.game->opponentPoints);
        score = entry.game->finished ? score : "left at " + score;
    }
    const std::string level = !entry.game ? "" : entry.game->hard ? "Hard" : "Easy";
    return json + ",\"date\":" + std::to_string(entry.header.recordedAt) + ",\"device\":" +
           quoted(entry.header.profile) + ",\"level\":" + quoted(level) + ",\"score\":" + quoted(score) +
           ",\"length\":" + quoted(ReplayViewer::minutesAndSeconds(entry.lengthMs)) + "}";
}

}  // namespace

EmulatedDevice* DeviceMaker::make(const LaunchOptions& options, const DeviceProfile& profile,
                                  EmulatedDevice::Setup setup, AudioTap*, const DemoSession* demo) {
    g_demo = demo;
    // The player's folder, also while a playback saves into a private one.
    g_saveFolder = options.saveFolder.empty() ? setup.saveFolder : options.saveFolder;
    auto* device = new WebDevice(profile, std::move(setup));
    if (!options.timedemo.empty()) {
        device->paintAtOnce();
    }
    return device;
}

std::unique_ptr<ScriptInputSink> DeviceMaker::scriptInputFor(EmulatedDevice&) {
    return nullptr;
}

}  // namespace vornel

extern "C" {

// The frames a demo has played so far (0 without one): tests look at a playback frame by frame.
EMSCRIPTEN_KEEPALIVE int vornel_demo_frames() {
    return vornel::g_demo != nullptr ? static_cast<int>(vornel::g_demo->frames()) : 0;
}

// The kept replays, oldest first, as a JSON array (the numbers are --play-demo's).
EMSCRIPTEN_KEEPALIVE const char* vornel_replays() {
    static std::string json;
    json = "[";
    const std::vector<vornel::ReplayShelf::Entry> entries = vornel::ReplayShelf(vornel::g_saveFolder).list();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        json += (i == 0 ? "" : ",") + vornel::jsonOf(entries[i], i + 1);
    }
    json += "]";
    return json.c_str();
}

// The viewer's commands (ReplayControls::Command's values) and seeks, from its controls.
EMSCRIPTEN_KEEPALIVE void vornel_replay_command(int command) {
    if (vornel::ReplayViewer* viewer = vornel::viewer(); viewer != nullptr && command >= 0 && command <= 6) {
        viewer->command(static_cast<vornel::ReplayControls::Command>(command));
    }
}

EMSCRIPTEN_KEEPALIVE void vornel_replay_seek(int framesEnded) {
    if (vornel::ReplayViewer* viewer = vornel::viewer(); viewer != nullptr && framesEnded > 0) {
        viewer->seekTo(static_cast<uint32_t>(framesEnded));
    }
}

// Where the viewer stands, as JSON; "null" when no replay is watched.
EMSCRIPTEN_KEEPALIVE const char* vornel_replay_state() {
    static std::string json;
    const vornel::ReplayViewer* viewer = vornel::viewer();
    if (viewer == nullptr) {
        return "null";
    }
    const vornel::ReplayViewer::State state = viewer->state();
    json = "{\"frames\":" + std::to_string(state.frames) + ",\"lastFrame\":" + std::to_string(state.lastFrame) +
           ",\"position\":" + vornel::quoted(vornel::ReplayViewer::minutesAndSeconds(state.positionMs)) +
           ",\"length\":" + vornel::quoted(vornel::ReplayViewer::minutesAndSeconds(state.lengthMs)) +
           ",\"speed\":" + vornel::quoted(vornel::ReplayViewer::speedName(state.speedEighths)) +
           ",\"paused\":" + (state.paused ? "true" : "false") + ",\"seeking\":" + (state.seeking ? "true" : "false") +
           "}";
    return json.c_str();
}

}  // extern "C"
