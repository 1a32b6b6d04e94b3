// The save folder: reads that must fill their buffer, and replacements that leave either the
// old or the new file and nothing else, in a folder made when missing.
#include "core/SaveFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include <unistd.h>

#include "core/ProgramFolder.h"
#include "core/RunContext.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

Array<uint8_t> bytesFrom(int32_t count, uint8_t first) {
    Array<uint8_t> bytes = allocByte(count);
    for (int32_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(first + i);
    }
    return bytes;
}

std::string textOf(const Array<uint8_t>& bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(bytes.length()));
}

class SaveFolderTest : public testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_context.emplace("", m_folder.string());
    }
    void TearDown() override {
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_folder);
    }
    void writeRaw(const std::string& name, const std::string& content) {
        std::ofstream(m_folder / name, std::ios::binary) << content;
    }
    std::string contentOf(const std::string& name) {
        std::ifstream in(m_folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::set<std::string> entries() {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path m_folder = fs::temp_directory_path() / ("vornel-savefolder-" + std::to_string(::getpid()));
    std::optional<RunContext> m_context;
};

TEST_F(SaveFolderTest, TheFolderEndsInASeparatorAndFallsBackToTheProgramFolder) {
    EXPECT_EQ(SaveFolder::path(), m_folder.string() + "/");
    const RunContext withoutSaveFolder("/games/vornel");
    EXPECT_EQ(SaveFolder::path(), "/games/vornel/");
}

TEST_F(SaveFolderTest, AReplacedFileReadsBackWholeAndLeavesNoOtherFile) {
    ASSERT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(24, 'a')));
    ASSERT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(24, 'A')));
    const Array<uint8_t> read = allocByte(24);
    EXPECT_TRUE(SaveFolder::readFileInto("vornel", read));
    EXPECT_EQ(textOf(read), textOf(bytesFrom(24, 'A')));
    EXPECT_EQ(entries(), (std::set<std::string>{"vornel"}));
}

TEST_F(SaveFolderTest, AReadSucceedsOnlyWhenTheFileFillsTheBufferAndKeepsWhatItGot) {
    writeRaw("long", "abcdefghij");
    const Array<uint8_t> four = allocByte(4);
    EXPECT_TRUE(SaveFolder::readFileInto("long", four));  // the first bytes of a longer file
    EXPECT_EQ(textOf(four), "abcd");

    writeRaw("short", "xyz");
    const Array<uint8_t> six = allocByte(6);
    EXPECT_FALSE(SaveFolder::readFileInto("short", six));
    EXPECT_EQ(textOf(six), std::string("xyz\0\0\0", 6));

    EXPECT_FALSE(SaveFolder::readFileInto("missing", four));
    EXPECT_EQ(textOf(four), "abcd");
}

TEST_F(SaveFolderTest, AReplacementThatFailsKeepsTheOldFileAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(8, 'a')));
    fs::create_directories(m_folder / "taken" / "inside");  // a file cannot be renamed over it
    EXPECT_FALSE(SaveFolder::writeFileFrom("taken", bytesFrom(8, 'A')));
    EXPECT_EQ(entries(), (std::set<std::string>{"vornel", "taken"}));

    const RunContext inAFile("", (m_folder / "vornel").string());  // a folder that is a file cannot be made
    EXPECT_FALSE(SaveFolder::writeFileFrom("vornel", bytesFrom(8, 'A')));
    EXPECT_EQ(contentOf("vornel"), "abcdefgh");
}

TEST_F(SaveFolderTest, AReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into a read-only folder all the same";
    }
    ASSERT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(8, 'a')));
    fs::permissions(m_folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(SaveFolder::writeFileFrom("vornel", bytesFrom(8, 'A')));
    fs::permissions(m_folder, fs::perms::owner_all);
    EXPECT_EQ(contentOf("vornel"), "abcdefgh");
    EXPECT_EQ(entries(), (std::set<std::string>{"vornel"}));
}

TEST_F(SaveFolderTest, AMissingFolderIsMadeOnTheFirstWrite) {
    const RunContext inANewFolder("", (m_folder / "new" / "saves").string());
    ASSERT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(3, 'a')));
    std::ifstream in(m_folder / "new" / "saves" / "vornel", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "abc");
}

TEST_F(SaveFolderTest, OnlyTheGamesOwnLeftoversAreSweptAndThePlayersFilesStay) {
    writeRaw("vornel.abcdef", "mine");               // a player's file that looks like a leftover
    writeRaw(".vornel-save-Ab12Cd.tmp", "stale");    // a replacement cut short
    ASSERT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(4, 'a')));
    EXPECT_EQ(entries(), (std::set<std::string>{"vornel", "vornel.abcdef"}));
    EXPECT_EQ(contentOf("vornel.abcdef"), "mine");
}

TEST_F(SaveFolderTest, AFailingSaveIsSaidOnceAndTheNextSaveThatWorksWritesTheLatestBytes) {
    ASSERT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(4, 'a')));
    fs::create_directories(m_folder / "blocked" / "vornel" / "inside");  // a folder in the way
    const RunContext blocked("", (m_folder / "blocked").string());
    testing::internal::CaptureStderr();
    for (int32_t save = 0; save < 3; ++save) {
        EXPECT_FALSE(SaveFolder::writeFileFrom("vornel", bytesFrom(4, static_cast<uint8_t>('b' + save))));
    }
    const std::string path = (m_folder / "blocked" / "vornel").string();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vornel: cannot save " + path + ": Is a directory; the game goes on and saves again at the next change\n");

    fs::remove_all(m_folder / "blocked" / "vornel");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(4, 'x')));
    EXPECT_TRUE(SaveFolder::writeFileFrom("vornel", bytesFrom(4, 'y')));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vornel: " + path + " is saved again\n");
    EXPECT_EQ(contentOf("blocked/vornel"), "yz{|");
    EXPECT_EQ(contentOf("vornel"), "abcd");
}

}  // namespace
}  // namespace vornel
