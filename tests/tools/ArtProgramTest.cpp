// The vornel-art program end to end: the bank and the preview PNGs it writes, and its answer
// to bad arguments.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

#include "TestPictures.h"
#include "bank/PngFile.h"

namespace vornel {
namespace {

using test::ScratchFolder;

struct Outcome {
    int status;
    std::string err;
};

Outcome runArtProgram(const ScratchFolder& folder, const std::string& arguments) {
    const std::string errors = folder.file("stderr.txt");
    const std::string command = std::string(VORNEL_ART_PROGRAM) + " " + arguments + " 2>" + errors;
    const int status = std::system(command.c_str());
    std::ifstream file(errors);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>())};
}

TEST(ArtProgramTest, WritesTheBankAndAPngOfEveryPicture) {
    const ScratchFolder folder("art-program");
    const Outcome outcome = runArtProgram(folder, folder.file("bin") + " --png " + folder.file("png"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(std::filesystem::file_size(folder.file("bin/app0.bin")), 32768u);
    EXPECT_TRUE(std::filesystem::exists(folder.file("bin/app1.bin")));
    RgbaImage table;
    std::string error;
    ASSERT_TRUE(PngFile::read(folder.file("png/picture-06.png"), table, error)) << error;
    EXPECT_EQ(table.width(), 480);
    EXPECT_TRUE(std::filesystem::exists(folder.file("png/picture-15.png")));
}

TEST(ArtProgramTest, AnswersBadArgumentsWithUsageAndStatus2) {
    const ScratchFolder folder("art-usage");
    const Outcome outcome = runArtProgram(folder, "a b c d");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err.rfind("vornel-art: usage:", 0), 0u) << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1);
}

TEST(ArtProgramTest, WritesTheIconAtTheSizeAsked) {
    const ScratchFolder folder("art-icon");
    const Outcome outcome = runArtProgram(folder, "--icon 64 " + folder.file("icon.png"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    RgbaImage icon;
    std::string error;
    ASSERT_TRUE(PngFile::read(folder.file("icon.png"), icon, error)) << error;
    EXPECT_EQ(icon.width(), 64);
    EXPECT_EQ(icon.height(), 64);
}

TEST(ArtProgramTest, RefusesAnIconSizeThatIsNoSizeInOneLine) {
    const ScratchFolder folder("art-icon-size");
    for (const char* size : {"0", "64px", "-48", "99999"}) {
        const Outcome outcome = runArtProgram(folder, std::string("--icon ") + size + " " + folder.file("icon.png"));
        EXPECT_EQ(outcome.status, 2) << size;
        EXPECT_EQ(outcome.err.rfind("vornel-art: --icon: the size must be", 0), 0u) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(folder.file("icon.png")));
    }
}

TEST(ArtProgramTest, SaysWhyItCannotWriteTheBank) {
    const ScratchFolder folder("art-blocked");
    std::ofstream(folder.file("occupied")) << "a file where the folder should be";
    const Outcome outcome = runArtProgram(folder, folder.file("occupied"));
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("vornel-art: cannot create"), std::string::npos) << outcome.err;
}

}  // namespace
}  // namespace vornel
