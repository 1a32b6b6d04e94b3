// The vornel-bank program end to end: write, list, extract, and its answers to bad arguments.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

#include "TestPictures.h"
#include "bank/PngFile.h"

namespace vornel {
namespace {

using namespace test;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runBankProgram(const ScratchFolder& folder, const std::string& arguments) {
    const std::string errors = folder.file("stderr.txt");
    const std::string command = std::string(VORNEL_BANK_PROGRAM) + " " + arguments + " 2>" + errors;
    Outcome outcome{-1, {}, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return outcome;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        outcome.out += buffer;
    }
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream file(errors);
    outcome.err.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return outcome;
}

class BankProgram : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(PngFile::write(inFolder("photo.png"), noise(24, 16), error)) << error;
        ASSERT_TRUE(PngFile::write(inFolder("sprite.png"), row({kClear, kClear, kRed, withCode(kGreen, 5), kClear}), error));
        ASSERT_TRUE(PngFile::write(inFolder("tile.png"), RgbaImage(4, 4, 0xFF123456), error)) << error;
    }

    std::string inFolder(const std::string& name) const { return m_folder.file(name); }

    ScratchFolder m_folder{"program"};
};

TEST_F(BankProgram, WritesListsAndExtractsABank) {
    const std::string bank = inFolder("bank");
    const Outcome written = runBankProgram(m_folder, "write " + bank + " app j:" + inFolder("photo.png") +
                                                         ":3,-4 r:" + inFolder("sprite.png") + " o:" + inFolder("tile.png"));
    ASSERT_EQ(written.status, 0) << written.err;

    const Outcome listed = runBankProgram(m_folder, "list " + bank + " app");
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_TRUE(listed.out.starts_with("0 j 24 16 3 -4 ")) << listed.out;
    EXPECT_NE(listed.out.find("\n1 r 5 1 0 0 "), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("\n2 o 4 4 0 0 "), std::string::npos) << listed.out;

    ASSERT_EQ(runBankProgram(m_folder, "extract " + bank + " app 1 " + inFolder("out.png")).status, 0);
    RgbaImage extracted;
    std::string error;
    ASSERT_TRUE(PngFile::read(inFolder("out.png"), extracted, error)) << error;
    // The translucent green is stored at 5/6, decoded at 3/4 and exported at 8/5: 248 comes back 250.
    EXPECT_EQ(extracted.pixels(), Words({0, 0, kRed, withCode(0xFF00FA00, 5), 0}));
}

TEST_F(BankProgram, BadArgumentsGiveOneErrorLineAndStatus2) {
    const std::string bank = inFolder("bank");
    ASSERT_EQ(runBankProgram(m_folder, "write " + bank + " app r:" + inFolder("sprite.png")).status, 0);
    const std::string cases[] = {
        "extract " + bank + " app 1 " + inFolder("out.png"),
        "extract " + bank + " app one " + inFolder("out.png"),
        "list " + bank + " nosuchbank",
        "list " + bank,
        "write " + bank + " app q:" + inFolder("sprite.png"),
        "write " + bank + " app r:" + inFolder("missing.png"),
        "write " + bank + " app r:" + inFolder("sprite.png") + ":1,x",
        "write " + bank + " app o:" + inFolder("sprite.png"),
        "shuffle",
    };
    for (const std::string& arguments : cases) {
        const Outcome outcome = runBankProgram(m_folder, arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_TRUE(outcome.err.starts_with("vornel-bank: ")) << arguments << ": " << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << arguments << ": " << outcome.err;
    }
    const Outcome bare = runBankProgram(m_folder, "");
    EXPECT_EQ(bare.status, 2);
    EXPECT_TRUE(bare.err.starts_with("usage: vornel-bank write")) << bare.err;
}

}  // namespace
}  // namespace vornel
