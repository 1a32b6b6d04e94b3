// Listing, naming and pruning the kept replays.
#include "demo/ReplayShelf.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "demo/DemoReader.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

// The names the shelf gives; nothing else in the folder is the shelf's to remove.
bool isShelfName(const std::string& name) {
    static const std::regex pattern(R"(\d{8}-\d{6}-\d{2,}\.vdm)");
    return std::regex_match(name, pattern);
}

std::string minutesAndSeconds(uint32_t milliseconds) {
    const uint32_t seconds = (milliseconds + 500) / 1000;
    char text[24];
    std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
    return text;
}

std::string localDateOf(uint64_t secondsSince1970) {
    if (secondsSince1970 == 0) {
        return "date unknown    ";
    }
    const auto moment = static_cast<std::time_t>(secondsSince1970);
    std::tm parts{};
    char text[32] = "date unknown    ";
    if (::localtime_r(&moment, &parts) != nullptr) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
    }
    return text;
}

std::string scoreOf(const DemoGame& game) {
    const std::string score = std::to_string(game.playerPoints) + ":" + std::to_string(game.opponentPoints);
    return game.finished ? score : "left at " + score;
}

}  // namespace

ReplayShelf::ReplayShelf(const std::string& saveFolder) {
    std::string folder = saveFolder;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    m_folder = folder + "/" + kFolderName;
}

bool ReplayShelf::prepare(std::string& problem) const {
    std::error_code failure;
    fs::create_directories(m_folder, failure);
    if (!fs::is_directory(m_folder, failure)) {
        problem = "cannot make the folder " + m_folder + " for replays";
        return false;
    }
    return true;
}

std::string ReplayShelf::pathFor(std::time_t started, int32_t attempt) const {
    std::tm parts{};
    char stamp[32] = "00000000-000000";
    if (::gmtime_r(&started, &parts) != nullptr) {
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
    }
    char name[64];
    std::snprintf(name, sizeof name, "%s-%02d%s", stamp, attempt, kExtension);
    return m_folder + "/" + name;
}

std::vector<std::string> ReplayShelf::sessionFiles() const {
    std::vector<std::string> files;
    std::error_code failure;
    for (fs::directory_iterator it(m_folder, failure), end; !failure && it != end; it.increment(failure)) {
        if (isShelfName(it->path().filename().string()) && it->is_regular_file(failure) && !it->is_symlink(failure)) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<ReplayShelf::Entry> ReplayShelf::entriesOf(const std::string& path) {
    DemoReader reader;
    Entry entry;
    entry.path = path;
    if (!reader.open(path, entry.problem)) {
        return {entry};
    }
    entry.header = reader.header();
    entry.frames = static_cast<uint32_t>(reader.frameCount());
    entry.lengthMs = reader.length();
    if (reader.games().empty()) {
        return {entry};
    }
    std::vector<Entry> games;
    for (const DemoGame& game : reader.games()) {
        entry.game = game;
        entry.lengthMs = reader.ticksAt(game.lastFrame) - reader.ticksAt(game.firstFrame);
        games.push_back(entry);
    }
    return games;
}

std::vector<ReplayShelf::Entry> ReplayShelf::list() const {
    std::vector<Entry> entries;
    for (const std::string& file : sessionFiles()) {
        for (Entry& entry : entriesOf(file)) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

int32_t ReplayShelf::prune(int32_t keptGames, std::chrono::seconds quietFor) const {
    const std::vector<std::string> files = sessionFiles();
    const auto now = fs::file_time_type::clock::now();
    const auto isQuiet = [&](const std::string& file) {
        std::error_code failure;
        const fs::file_time_type written = fs::last_write_time(file, failure);
        return !failure && now - written >= quietFor;
    };
    int32_t gamesKept = 0;
    int32_t removed = 0;
    bool removing = false;
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        const std::vector<Entry> entries = entriesOf(*file);
        if (entries.front().damaged()) {
            continue;
        }
        const auto games = static_cast<int32_t>(
            std::count_if(entries.begin(), entries.end(), [](const Entry& entry) { return entry.game.has_value(); }));
        removing = removing || (gamesKept > 0 && gamesKept + games > keptGames);
        std::error_code failure;
        if ((removing || (games == 0 && isQuiet(*file))) && fs::remove(*file, failure)) {
            ++removed;
            continue;
        }
        gamesKept += games;
    }
    return removed;
}

bool ReplayShelf::namesReplay(const std::string& which) {
    return which == "last" || (!which.empty() && which.size() < 10 &&
                               std::all_of(which.begin(), which.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

const ReplayShelf::Entry* ReplayShelf::find(const std::vector<Entry>& entries, const std::string& which,
                                            std::string& error) {
    if (entries.empty()) {
        error = "no replays are kept yet";
        return nullptr;
    }
    const std::size_t number = which == "last" ? entries.size() : std::stoul(which);
    if (number < 1 || number > entries.size()) {
        error = "no replay " + which + " (the list has 1 to " + std::to_string(entries.size()) + ")";
        return nullptr;
    }
    const Entry& entry = entries[number - 1];
    if (entry.damaged()) {
        error = "replay " + std::to_string(number) + " is damaged: " + entry.problem;
        return nullptr;
    }
    return &entry;
}

std::string ReplayShelf::lineFor(const Entry& entry, std::size_t number) {
    char line[256];
    if (entry.damaged()) {
        std::snprintf(line, sizeof line, "%3zu  damaged: %s", number, entry.problem.c_str());
        return line;
    }
    const std::string level = !entry.game ? "" : entry.game->hard ? "Hard" : "Easy";
    const std::string score = entry.game ? scoreOf(*entry.game) : "no game";
    std::snprintf(line, sizeof line, "%3zu  %s  %-10s  %-4s  %-14s  %s", number, localDateOf(entry.header.recordedAt).c_str(),
                  entry.header.profile.c_str(), level.c_str(), score.c_str(), minutesAndSeconds(entry.lengthMs).c_str());
    return line;
}

}  // namespace vornel
