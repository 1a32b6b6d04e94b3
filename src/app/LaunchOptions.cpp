// The launcher's command line.
#include "app/LaunchOptions.h"

#include <cstdint>
#include <string_view>

#include "core/PlainNumber.h"
#include "device/DeviceProfile.h"
#include "device/EmulatedDevice.h"

namespace vornel {
namespace {

constexpr int32_t kLargestSpeed = 1000;

// Reads the options one by one; each option that takes a value accepts it as the next
// argument or after '='.
class OptionReader {
public:
    OptionReader(const std::vector<std::string>& arguments, LaunchOptions& options)
        : m_arguments(arguments), m_options(options) {}

    bool read(std::string& error);

private:
    bool readOne(const std::string& argument);
    bool takeValue(std::string_view name);
    bool fail(std::string problem) {
        m_error = std::move(problem);
        return false;
    }
    bool readNumber(std::string_view name, int32_t first, int32_t last, int32_t& value);
    bool readText(std::string_view name, std::string& value);
    bool readDevice();
    bool readSeed();

    const std::vector<std::string>& m_arguments;
    LaunchOptions& m_options;
    std::size_t m_next = 0;
    std::string m_value;          // the value of the option being read
    bool m_valueInline = false;   // the argument was --name=value
    std::string m_error;
};

bool OptionReader::read(std::string& error) {
    while (m_next < m_arguments.size()) {
        if (!readOne(m_arguments[m_next++])) {
            error = m_error;
            return false;
        }
    }
    return true;
}

bool OptionReader::readOne(const std::string& argument) {
    std::string name = argument;
    m_valueInline = false;
    const std::size_t equals = argument.find('=');
    if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
        name = argument.substr(0, equals);
        m_value = argument.substr(equals + 1);
        m_valueInline = true;
    }
    const std::vector<std::pair<std::string_view, bool*>> switches = {
        {"--fullscreen", &m_options.fullscreen}, {"--headless", &m_options.headless},
        {"--autoplay", &m_options.autoplay},     {"--help", &m_options.help},
        {"--version", &m_options.version},       {"--stats", &m_options.stats},
        {"--replays", &m_options.listReplays},   {"--no-replays", &m_options.noReplays},
        {"--keep-replay", &m_options.keepReplay}, {"--real-time", &m_options.realTime},
    };
    for (const auto& [switchName, flag] : switches) {
        if (name == switchName) {
            if (m_valueInline) {
                return fail(std::string(switchName) + " takes no value");
            }
            *flag = true;
            return true;
        }
    }
    if (name == "--device") {
        return readDevice();
    }
    if (name == "--zoom") {
        return readNumber(name, 1, EmulatedDevice::kLargestZoom, m_options.zoom);
    }
    if (name == "--speed") {
        return readNumber(name, 1, kLargestSpeed, m_options.speed);
    }
    if (name == "--seed") {
        return readSeed();
    }
    const std::vector<std::pair<std::string_view, std::string*>> texts = {
        {"--script", &m_options.script}, {"--record-audio", &m_options.recordAudio},
        {"--data", &m_options.dataFolder}, {"--save", &m_options.saveFolder},
        {"--record-demo", &m_options.recordDemo}, {"--play-demo", &m_options.playDemo},
        {"--timedemo", &m_options.timedemo},
    };
    for (const auto& [textName, value] : texts) {
        if (name == textName) {
            return readText(textName, *value);
        }
    }
    if (argument.rfind("-", 0) == 0) {
        return fail("unknown option '" + name + "'");
    }
    return fail("unexpected argument '" + argument + "'");
}

bool OptionReader::takeValue(std::string_view name) {
    if (m_valueInline) {
        return true;
    }
    if (m_next >= m_arguments.size()) {
        return fail(std::string(name) + " needs a value");
    }
    m_value = m_arguments[m_next++];
    return true;
}

bool OptionReader::readNumber(std::string_view name, int32_t first, int32_t last, int32_t& value) {
    if (!takeValue(name)) {
        return false;
    }
    if (!PlainNumber::parse(m_value, first, last, value)) {
        return fail(std::string(name) + " must be a whole number from " + std::to_string(first) + " to " +
                    std::to_string(last) + ", not '" + m_value + "'");
    }
    return true;
}

bool OptionReader::readText(std::string_view name, std::string& value) {
    if (!takeValue(name)) {
        return false;
    }
    if (m_value.empty()) {
        return fail(std::string(name) + " needs a value");
    }
    value = m_value;
    return true;
}

bool OptionReader::readSeed() {
    if (!takeValue("--seed")) {
        return false;
    }
    if (!PlainNumber::parse(m_value, 0u, UINT32_MAX, m_options.seed)) {
        return fail("--seed must be a whole number from 0 to 4294967295, not '" + m_value + "'");
    }
    m_options.seeded = true;
    return true;
}

bool OptionReader::readDevice() {
    if (!takeValue("--device")) {
        return false;
    }
    if (DeviceProfile::find(m_value) == nullptr) {
        return fail("unknown device '" + m_value + "' (one of " + DeviceProfile::names() + ")");
    }
    m_options.device = m_value;
    return true;
}

}  // namespace

bool LaunchOptions::parse(const std::vector<std::string>& arguments, LaunchOptions& options, std::string& error) {
    LaunchOptions parsed;
    OptionReader reader(arguments, parsed);
    if (!reader.read(error)) {
        return false;
    }
    const int32_t demos = !parsed.recordDemo.empty() + !parsed.playDemo.empty() + !parsed.timedemo.empty();
    if (demos > 1) {
        error = "--record-demo, --play-demo and --timedemo go one at a time";
        return false;
    }
    if (parsed.noReplays && parsed.keepReplay) {
        error = "--no-replays and --keep-replay go one at a time";
        return false;
    }
    if (!parsed.timedemo.empty()) {
        parsed.headless = true;  // nothing is shown: the frames go by as fast as they are drawn
    }
    if (!parsed.timedemo.empty() && !parsed.recordAudio.empty()) {
        error = "--record-audio needs a run that plays its sound (a timedemo plays none; --headless --play-demo does)";
        return false;
    }
    if (parsed.realTime && parsed.headless) {
        error = "--real-time is for a window (not --headless or --timedemo)";
        return false;
    }
    options = std::move(parsed);
    return true;
}

std::string LaunchOptions::usage() {
    return "Usage: vornel [OPTION]...\n"
           "Plays Vornel on an emulated handheld.\n"
           "\n"
           "  --device NAME        the handheld: " + DeviceProfile::names() + " (default pocketpc)\n"
           "  --zoom N             window zoom factor 1..8 (default: the largest that fits, at most 4)\n"
           "  --fullscreen         start full screen (F11 or Alt+Enter toggles)\n"
           "  --headless           no window and no sound device (for tests)\n"
           "  --real-time          a window on SDL's dummy or offscreen video driver keeps real\n"
           "                       time and SDL's sound, as on a display (default: virtual time)\n"
           "  --speed N            device time runs N times faster than real time, 1..1000 (default 1);\n"
           "                       headless, at most N times faster (default: as fast as it goes)\n"
           "  --seed N             start the random numbers from N, 0..4294967295 (default: from\n"
           "                       the device's clock)\n"
           "  --script FILE        input script to play\n"
           "  --record-audio FILE  write what is played to FILE as an 8000 Hz mono WAV\n"
           "  --data DIR           the folder of the data files (default: the executable's folder)\n"
           "  --save DIR           the folder of the settings file\n"
           "                       (default $XDG_DATA_HOME/vornel or ~/.local/share/vornel)\n"
           "  --autoplay           a built-in player steers the player's bat\n"
           "  --record-demo FILE   record the whole session into FILE\n"
           "  --play-demo FILE     play a recorded session back at its pace (the demo chooses\n"
           "                       the device; the settings file is not touched); FILE may be\n"
           "                       'last' or a number of the --replays list (./FILE for a file\n"
           "                       of such a name)\n"
           "  --timedemo FILE      play a recorded session back headless and silent as fast as\n"
           "                       it goes and print its frames per second (FILE as for\n"
           "                       --play-demo)\n"
           "  --replays            list the replays kept in the save folder and exit\n"
           "  --no-replays         keep no replay of this session (a window or the page keeps\n"
           "                       the last 20 games by default)\n"
           "  --keep-replay        keep a replay of a headless session too\n"
           "  --stats              at exit, print frames, CPU time per frame, frame lengths,\n"
           "                       peak memory and the latency of keys and the pen on one line\n"
           "  --help               show this help and exit\n"
           "  --version            show the version and exit\n"
           "\n"
           "Keys in the window: Ctrl+R rotates the display, Ctrl+plus and Ctrl+minus zoom,\n"
           "F11 or Alt+Enter switches full screen, F12 saves a screenshot.\n"
           "\n"
           "Script commands, one a line, times in device milliseconds, # starts a comment:\n"
           "  wait MS, key down NAME|CODE, key up NAME|CODE, press NAME|CODE, char C,\n"
           "  tap X Y, drag X1 Y1 X2 Y2, rotate, activate on|off, screenshot FILE.png, quit\n"
           "  (press and tap hold the key or pen 40 ms; a drag moves 4 pixels every 8 ms)\n"
           "  key names: left right up down enter escape backspace space f1 f2 f8 f9 slash,\n"
           "  a-z, 0-9; CODE is a virtual-key code 1..255 of two digits or more (08 for 8).\n";
}

}  // namespace vornel
