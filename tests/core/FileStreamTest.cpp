// File streams over the program folder.
#include "core/FileStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "core/Base.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "core/SaveFolder.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

class FileStreamTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("vornel-stream-" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        m_context.emplace(m_folder.string());
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
    }

    static Ref<FileStream> open(const char* name) { return openStream(*String::fromLiteral(name)); }

    fs::path m_folder;
    std::optional<RunContext> m_context;
};

// The smallest application object, to reach the operations every object has.
class Plain : public Base {};

TEST_F(FileStreamTest, ALeadingSlashNamesTheSameFile) {
    write("help.txt", "H");
    Ref<FileStream> plain = open("help.txt");
    Ref<FileStream> slashed = open("/help.txt");
    ASSERT_TRUE(plain);
    ASSERT_TRUE(slashed);
    EXPECT_EQ(plain->readByte(), 'H');
    EXPECT_EQ(slashed->readByte(), 'H');

    char path[ProgramFolder::kPathBufferSize];
    ASSERT_TRUE(ProgramFolder::buildPath("/data/", "//help.txt", path));
    EXPECT_STREQ(path, "/data//help.txt");  // only one slash is dropped
}

TEST_F(FileStreamTest, AMissingFileGivesNoStream) {
    EXPECT_FALSE(open("cookies.txt"));
}

TEST_F(FileStreamTest, AByteOfAllOnesIsNotTheEndOfTheFile) {
    write("f15.bin", std::string("\xFF", 1));
    Ref<FileStream> stream = open("f15.bin");
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->readByte(), 255);
    EXPECT_EQ(stream->readByte(), -1);
    stream->close();
    EXPECT_EQ(stream->readByte(), -1);
    EXPECT_FALSE(stream->isOpen());
}

TEST_F(FileStreamTest, ReadAtTheEndAnswersMinusOne) {
    write("app0.bin", "abc");
    Ref<FileStream> stream = open("app0.bin");
    Array<uint8_t> buffer = allocByte(8);
    EXPECT_EQ(stream->read(buffer, 0, 8), 3);
    EXPECT_EQ(buffer[2], 'c');
    EXPECT_EQ(stream->read(buffer, 0, 8), -1);
}

TEST_F(FileStreamTest, ReadsStopAtTheEndOfTheArray) {
    write("app0.bin", "abcdefgh");
    Ref<FileStream> stream = open("app0.bin");
    Array<uint8_t> buffer = allocByte(4);
    EXPECT_EQ(stream->read(buffer, 2, 6), 2);
    EXPECT_EQ(buffer[3], 'b');
    EXPECT_EQ(stream->read(buffer, 4, 1), -1);
    EXPECT_EQ(stream->read(buffer, 5, 1), -1);
    EXPECT_EQ(stream->read(buffer, -1, 1), -1);
    EXPECT_EQ(stream->readByte(), 'c');
}

TEST_F(FileStreamTest, ReadFullyGathersTheCountOrStopsAtTheEnd) {
    write("cookies.txt", "0123456789");
    Ref<FileStream> stream = open("cookies.txt");
    Ref<Plain> reader = new Plain();
    Array<uint8_t> buffer = allocByte(16);

    EXPECT_EQ(reader->readFully(*stream, buffer, 0, 0), 0);
    EXPECT_EQ(reader->readFully(*stream, buffer, 1, 4), 4);
    EXPECT_EQ(buffer[4], '3');
    EXPECT_EQ(reader->readFully(*stream, buffer, 5, 11), 6);
    EXPECT_EQ(buffer[10], '9');
}

TEST_F(FileStreamTest, APathTooLongForItsBufferFailsToOpen) {
    const std::size_t room = ProgramFolder::kPathBufferSize - 1 - ProgramFolder::path().size();
    const std::string fits(room, 'a');
    const std::string tooLong(room + 1, 'b');

    char buffer[ProgramFolder::kPathBufferSize];
    EXPECT_TRUE(ProgramFolder::buildPath(ProgramFolder::path(), fits.c_str(), buffer));
    EXPECT_EQ(std::string(buffer).size(), ProgramFolder::kPathBufferSize - 1);
    EXPECT_FALSE(ProgramFolder::buildPath(ProgramFolder::path(), tooLong.c_str(), buffer));
    EXPECT_STREQ(buffer, "");

    Ref<String> name = new String(tooLong.c_str(), 0, static_cast<int32_t>(tooLong.size()));
    EXPECT_FALSE(openStream(*name));
}

// Contexts nest: the newest is current until it ends, and each folder gets its separator.
TEST(RunContext, TheNewestContextIsCurrentAndEachFolderEndsInASeparator) {
    const std::string outside = ProgramFolder::path();
    {
        const RunContext installed("/opt/vornel");
        EXPECT_EQ(ProgramFolder::path(), "/opt/vornel/");
        {
            const RunContext nested("/opt/vornel/", "/saves");
            EXPECT_EQ(ProgramFolder::path(), "/opt/vornel/");
            EXPECT_EQ(SaveFolder::path(), "/saves/");
            EXPECT_EQ(&nested.clock(), &installed.clock());  // no clock given: the outer one's
        }
        EXPECT_EQ(SaveFolder::path(), "/opt/vornel/");  // none: the settings stay with the program
    }
    EXPECT_EQ(ProgramFolder::path(), outside);
}

}  // namespace
}  // namespace vornel
