// The shelf's own rules: a session without a game goes once it has not been written for the
// time given (one being recorded writes every frame), a damaged file and a file of another
// name stay, and "last" or a number picks an entry of the list.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "demo/DemoWriter.h"
#include "demo/ReplayShelf.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

TEST(ReplayShelfTest, SessionsWithoutAGameGoWhenQuietAndOtherFilesStay) {
    const fs::path save = fs::temp_directory_path() / ("vornel-shelf-" + std::to_string(::getpid()));
    const ReplayShelf shelf(save.string());
    std::string error;
    ASSERT_TRUE(shelf.prepare(error)) << error;
    const auto session = [&](int32_t attempt, bool withGame) {
        DemoWriter writer;
        DemoHeader header;
        header.profile = "pocketpc";
        const std::string path = shelf.pathFor(1796812345, attempt);
        EXPECT_TRUE(writer.create(path, header, error)) << error;
        writer.endFrame();
        if (withGame) {
            writer.recordGame({1, 0, 0, false, 3, 1, false});
        }
        EXPECT_TRUE(writer.finish(0, error)) << error;
        return path;
    };
    const std::string ended = session(0, false);
    const std::string played = session(1, true);
    const std::string recording = session(2, false);
    fs::last_write_time(ended, fs::file_time_type::clock::now() - std::chrono::minutes(2));
    fs::last_write_time(played, fs::file_time_type::clock::now() - std::chrono::minutes(2));
    std::ofstream(shelf.folder() + "/20000101-000000-00.vdm") << "not a demo";
    std::ofstream(shelf.folder() + "/notes.txt") << "the player's own";

    EXPECT_EQ(shelf.prune(ReplayShelf::kKeptGames, std::chrono::minutes(1)), 1);
    EXPECT_FALSE(fs::exists(ended));
    const std::vector<ReplayShelf::Entry> entries = shelf.list();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].damaged());
    EXPECT_EQ(entries[1].path, played);
    EXPECT_EQ(ReplayShelf::lineFor(entries[1], 2).substr(0, 5), "  2  ");
    EXPECT_NE(ReplayShelf::lineFor(entries[1], 2).find("pocketpc    Easy  left at 3:1 "), std::string::npos);
    EXPECT_EQ(ReplayShelf::find(entries, "last", error), &entries[2]);
    EXPECT_EQ(ReplayShelf::find(entries, "1", error), nullptr);
    EXPECT_NE(error.find("replay 1 is damaged"), std::string::npos);
    EXPECT_EQ(ReplayShelf::find(entries, "4", error), nullptr);
    EXPECT_EQ(error, "no replay 4 (the list has 1 to 3)");

    EXPECT_EQ(shelf.prune(), 1) << "the session ended: without a game it goes";
    EXPECT_TRUE(fs::exists(shelf.folder() + "/notes.txt"));
    fs::remove_all(save);
}

}  // namespace
}  // namespace vornel
