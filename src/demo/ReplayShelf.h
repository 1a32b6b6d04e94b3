// The replays a player's save folder keeps: every session played in a window or the page is
// recorded into its folder "replays", one demo file a session, and the sessions of the last
// kKeptGames games stay there. The shelf lists them a game at a time (a file that is no demo
// of ours is listed as damaged and never played), names the file for a new session, and
// removes the oldest sessions beyond what is kept, and sessions in which no game was played
// once they have ended.
// It touches nothing but the files of its own naming inside its folder.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "demo/DemoFormat.h"
#include "demo/DemoGame.h"

namespace vornel {

class ReplayShelf final {
public:
    static constexpr const char* kFolderName = "replays";
    static constexpr const char* kExtension = ".vdm";
    static constexpr int32_t kKeptGames = 20;

    // One line of the list: a game of a session, a session without a game, or a damaged file.
    struct Entry {
        std::string path;
        std::string problem;          // why the file cannot be played; empty when it can
        DemoHeader header;
        std::optional<DemoGame> game;  // none: no game was played in the session
        uint32_t frames = 0;           // the session's
        uint32_t lengthMs = 0;         // the game's (else the session's) device time
        bool damaged() const { return !problem.empty(); }
    };

    // The shelf of a save folder (with or without its separator).
    explicit ReplayShelf(const std::string& saveFolder);
    const std::string& folder() const { return m_folder; }

    // Makes the folder when missing; false with a one-line reason.
    bool prepare(std::string& problem) const;
    // The name for a session started at that moment, the attempt-th try (from 0) when the
    // earlier names were taken: "YYYYMMDD-HHMMSS-NN.vdm", UTC, so names sort by time.
    std::string pathFor(std::time_t started, int32_t attempt) const;

    // Oldest first: every game of every session, in order; a damaged file as one entry.
    std::vector<Entry> list() const;
    // Removes the oldest sessions until the rest hold at most keptGames games, and the sessions
    // that hold no game and were last written at least quietFor ago (a session being recorded
    // writes every frame). Damaged files stay for the player to look at. Answers the number
    // of files removed.
    int32_t prune(int32_t keptGames = kKeptGames, std::chrono::seconds quietFor = std::chrono::seconds(0)) const;

    // The entry for "last" or a number of the list, from 1; null with a reason otherwise.
    static const Entry* find(const std::vector<Entry>& entries, const std::string& which, std::string& error);
    // Whether the launcher's --play-demo value names a replay rather than a file.
    static bool namesReplay(const std::string& which);
    // The list's line for an entry, numbered.
    static std::string lineFor(const Entry& entry, std::size_t number);

private:
    std::vector<std::string> sessionFiles() const;
    static std::vector<Entry> entriesOf(const std::string& path);

    std::string m_folder;  // without a trailing separator
};

}  // namespace vornel
