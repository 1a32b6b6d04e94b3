// Recording and playing back a whole run.
#include "demo/DemoSession.h"

#include <stdlib.h>

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/Random.h"
#include "core/SaveFolder.h"
#include "demo/ReplayShelf.h"
#include "device/DeviceProfile.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

double secondsBetween(std::chrono::steady_clock::time_point start, std::chrono::steady_clock::time_point end) {
    return std::chrono::duration<double>(end - start).count();
}

}  // namespace

std::unique_ptr<DemoSession> DemoSession::record(const std::string& path) {
    return std::unique_ptr<DemoSession>(new DemoSession(Kind::kRecord, path));
}

std::unique_ptr<DemoSession> DemoSession::keep(const std::string& saveFolder) {
    std::unique_ptr<DemoSession> session(new DemoSession(Kind::kKeep, ""));
    session->m_saveFolder = saveFolder;
    return session;
}

std::unique_ptr<DemoSession> DemoSession::play(const std::string& path, bool flatOut, std::string& error) {
    std::unique_ptr<DemoSession> session(new DemoSession(flatOut ? Kind::kTimedemo : Kind::kPlay, path));
    if (!session->openPlayback(error)) {
        return nullptr;
    }
    return session;
}

void DemoSession::removePrivateFolder() {
    if (!m_privateFolder.empty()) {
        std::error_code ignored;
        fs::remove_all(m_privateFolder, ignored);
        m_privateFolder.clear();
    }
}

bool DemoSession::openPlayback(std::string& error) {
    if (!m_reader.open(m_path, error)) {
        return false;
    }
    if (DeviceProfile::find(profile()) == nullptr) {
        error = m_path + ": recorded on a device this version does not know (\"" + profile() + "\")";
        return false;
    }
    if (m_reader.header().gameVersion != kGameVersion) {
        std::fprintf(stderr, "vornel: %s was recorded by version %s of the game; it may play otherwise here\n",
                     m_path.c_str(), m_reader.header().gameVersion.c_str());
    }
    m_tape = std::make_unique<DemoTape>(m_reader);
    return makePrivateFolder(error);
}

// The game saves its settings at every point and when it ends: into a folder of its own,
// removed afterwards, in memory where the system has a place for it (a replacement by rename on
// a disk's file system is flushed to the disk even without a sync: a timedemo spent a tenth of
// its time there), else in the temporary folder.
bool DemoSession::makePrivateFolder(std::string& error) {
    std::error_code failure;
    const fs::path temporary = fs::temp_directory_path(failure);
    std::string pattern;
    for (const fs::path& place : {fs::path("/dev/shm"), temporary}) {
        pattern = (place / "vornel-demo-XXXXXX").string();
        if (!place.empty() && ::mkdtemp(pattern.data()) != nullptr) {
            break;
        }
        pattern.clear();
    }
    if (pattern.empty()) {
        error = "cannot make a folder for the demo's settings in " + temporary.string();
        return false;
    }
    m_privateFolder = pattern;
    return writePrivateSettings(error);
}

// The settings the recording started from, again before every fresh game of the viewer.
bool DemoSession::writePrivateSettings(std::string& error) const {
    const std::string path = m_privateFolder + "/" + SaveFolder::kSettingsFile;
    const std::vector<uint8_t>& settings = m_reader.header().settings;
    std::error_code ignored;
    fs::remove(path, ignored);
    if (settings.empty()) {
        return true;  // the recording started without a settings file
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(settings.data()), static_cast<std::streamsize>(settings.size()));
    file.close();
    if (!file) {
        error = "cannot write the demo's settings into " + m_privateFolder;
        return false;
    }
    return true;
}

// The settings file's first bytes, as many as the format holds: the game reads fewer.
std::vector<uint8_t> DemoSession::settingsIn(const std::string& saveFolder) {
    std::ifstream file(saveFolder + "/" + SaveFolder::kSettingsFile, std::ios::binary);
    std::vector<uint8_t> bytes;
    char byte = 0;
    while (bytes.size() < demo::kLongestSettings && file.get(byte)) {
        bytes.push_back(static_cast<uint8_t>(byte));
    }
    return bytes;
}

bool DemoSession::start(const std::string& profileName, const std::string& saveFolder, uint32_t recordingSeed,
                        std::string& error) {
    uint32_t seed = m_reader.header().seed;
    if (isRecording()) {
        seed = recordingSeed;
        DemoHeader header;
        header.gameVersion = kGameVersion;
        header.profile = profileName;
        header.seed = seed;
        header.settings = settingsIn(saveFolder);
        header.recordedAt = static_cast<uint64_t>(std::time(nullptr));
        if (!openRecording(header, error)) {
            return false;
        }
        m_tape = std::make_unique<DemoTape>(m_writer);
    }
    seedRandom(seed);
    return true;
}

// A replay takes the first free name of its moment. The shelf is pruned first too, for the
// sessions that never ended (a tab closed, a kill): of those without a game only the ones
// not written for a minute go, so that a second copy of the game, which will not get to
// play, leaves the running copy's replay alone.
bool DemoSession::openRecording(const DemoHeader& header, std::string& error) {
    if (m_kind == Kind::kRecord) {
        return m_writer.open(m_path, header, error);
    }
    const ReplayShelf shelf(m_saveFolder);
    if (!shelf.prepare(error)) {
        return false;
    }
    shelf.prune(ReplayShelf::kKeptGames, std::chrono::minutes(1));
    constexpr int32_t kNamesToTry = 100;
    for (int32_t attempt = 0; attempt < kNamesToTry; ++attempt) {
        m_path = shelf.pathFor(static_cast<std::time_t>(header.recordedAt), attempt);
        if (m_writer.create(m_path, header, error)) {
            return true;
        }
    }
    return false;
}

void DemoSession::attach(EmulatedDevice& device) {
    m_clock = std::make_unique<TapedClock>(device.clock(), *m_tape, m_kind == Kind::kPlay);
    if (m_kind == Kind::kPlay) {
        m_pace = std::make_unique<ReplayPace>(device.clock());
        m_clock->setPace(m_pace.get());
        m_tape->setPace(m_pace.get());
        m_pace->seekTo(m_startAt);
    }
    if (isPlaying()) {
        m_tape->watch(demo::kWantedSize, [&device](int32_t size) { turnLike(device, size); });
    }
}

// The size the game asked for is the window's: a landscape size on an upright display (or
// the other way round) means the display was turned. The window's thread looks when it turns,
// so that quick turns one after another still end as the recording's did.
void DemoSession::turnLike(EmulatedDevice& device, int32_t recordedSize) {
    const auto packed = static_cast<uint32_t>(recordedSize);
    if (packed == 0) {
        return;
    }
    const bool recordedLandscape = (packed & 0xFFFF) > packed >> 16;
    device.runOnWindowThread([&device, recordedLandscape] {
        const int32_t orientation = device.displayOrientation();
        const PhysicalDisplay& display = device.display();
        if ((display.logicalWidth(orientation) > display.logicalHeight(orientation)) != recordedLandscape) {
            device.rotate();
        }
    });
}

void DemoSession::gameStarts() {
    m_clock->tapeThisThread();
    m_gameStarted.store(true);
}

void DemoSession::gameEnded() {
    m_clock->stopTaping();
    m_ended = std::chrono::steady_clock::now();
    if (isRecording()) {
        if (const std::optional<DemoGame> open = m_games.sessionEnds(static_cast<uint32_t>(m_tape->frames()))) {
            m_writer.recordGame(*open);
        }
        if (!m_tape->finishRecording(m_recordingError)) {
            m_recordingError = m_path + ": " + m_recordingError;
        }
    }
    if (m_kind == Kind::kKeep) {
        sayReplayLost();
        m_recordingError.clear();
        ReplayShelf(m_saveFolder).prune();
    }
    m_gameEnded.store(true);
}

void DemoSession::noteMatch(const MatchMoment& moment) {
    if (!isRecording() || !m_tape || m_tape->frames() == 0) {
        return;
    }
    if (const std::optional<DemoGame> entry = m_games.observe(static_cast<uint32_t>(m_tape->frames() - 1), moment)) {
        m_writer.recordGame(*entry);
    }
    if (m_kind == Kind::kKeep) {
        sayReplayLost();
    }
}

// Once, the moment it happens: the game and its settings go on.
void DemoSession::sayReplayLost() {
    if (m_writer.hasFailed() && !m_replayLostSaid) {
        m_replayLostSaid = true;
        std::fprintf(stderr, "vornel: the replay %s cannot be written (disk full?); it keeps what it has\n",
                     m_path.c_str());
    }
}

void DemoSession::windowCloses() {
    if (isPlaying() && !m_gameClosed.load()) {
        m_tape->interrupt();
    }
    if (m_pace) {
        m_pace->release();  // a paused viewer lets the game go
    }
}

void DemoSession::offerRestart(std::function<void()> restart) {
    std::lock_guard<std::mutex> guard(m_restartLock);
    m_restart = std::move(restart);
}

void DemoSession::startAt(uint32_t framesEnded) {
    m_startAt = framesEnded;
    if (m_pace) {
        m_pace->seekTo(framesEnded);
    }
}

bool DemoSession::restartAt(uint32_t framesEnded) {
    std::function<void()> restart;
    {
        std::lock_guard<std::mutex> guard(m_restartLock);
        restart = m_restart;
    }
    if (!restart || !m_pace) {
        return false;
    }
    m_restartTarget = std::max<uint32_t>(framesEnded, 1);
    m_tape->interrupt();  // the game reads the window closed and ends its run
    m_pace->release();
    restart();
    return true;
}

// The random source is the process's, seeded once at the start: a fresh game gets the
// recording's seed again, as it gets the settings the recording started from.
void DemoSession::rewind() {
    m_tape->rewind();
    m_clock->rewind();
    reseedRandom(m_reader.header().seed);
    std::string error;
    if (!writePrivateSettings(error)) {
        std::fprintf(stderr, "vornel: %s\n", error.c_str());
    }
    m_pace->resume();
    m_pace->seekTo(m_restartTarget);
}

void DemoSession::report() const {
    if (m_kind == Kind::kKeep) {
        return;  // a replay is kept quietly
    }
    if (!m_gameStarted.load()) {
        std::fprintf(stderr, "vornel: %s: the game did not start\n", m_path.c_str());
        return;
    }
    if (!m_gameEnded.load()) {
        std::fprintf(stderr, "vornel: %s: the game did not end in time; the demo keeps its whole frames\n",
                     m_path.c_str());
        return;
    }
    if (isPlaying()) {
        reportPlayback();
        return;
    }
    std::printf("demo: frames=%zu checksum=%08" PRIx32 " recorded\n", m_tape->frames(), m_tape->checksum());
    std::fflush(stdout);
    if (!m_recordingError.empty()) {
        std::fprintf(stderr, "vornel: %s\n", m_recordingError.c_str());
    }
}

void DemoSession::reportPlayback() const {
    std::string why;
    bool match = m_tape->playedWhole(why);
    if (!m_reader.isComplete()) {
        why = m_reader.incompleteReason() + (m_tape->inStep() ? "" : "; " + m_tape->stepLost());
        match = false;
    } else if (match && m_tape->checksum() != m_reader.storedChecksum()) {
        match = false;
        char stored[16];
        std::snprintf(stored, sizeof stored, "%08" PRIx32, m_reader.storedChecksum());
        why = std::string("the frames drawn differ from the recording's (checksum ") + stored + ")";
    }
    const char* answer = match ? "yes" : "no";
    if (m_kind == Kind::kTimedemo) {
        // The frames after the first, which ends once the game has loaded its content.
        const std::size_t timed = m_tape->frames() > 1 ? m_tape->frames() - 1 : 0;
        const double seconds = timed > 0 ? secondsBetween(m_tape->firstFrameEnded(), m_ended) : 0.0;
        const double fps = seconds > 0 ? static_cast<double>(timed) / seconds : 0.0;
        std::printf("timedemo: frames=%zu seconds=%.3f fps=%.1f checksum=%08" PRIx32 " match=%s\n",
                    m_tape->frames(), seconds, fps, m_tape->checksum(), answer);
    } else {
        std::printf("demo: frames=%zu checksum=%08" PRIx32 " match=%s\n", m_tape->frames(), m_tape->checksum(),
                    answer);
    }
    std::fflush(stdout);
    if (!match) {
        std::fprintf(stderr, "vornel: %s: %s\n", m_path.c_str(), why.c_str());
    }
}

}  // namespace vornel
