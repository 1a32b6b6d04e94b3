// The bank writer's stream and files, and what it refuses.
#include "bank/BankWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TestPictures.h"

namespace vornel {
namespace {

using namespace test;

Bytes varInt(uint32_t value) {
    Bytes bytes;
    BankWriter::appendVarInt(bytes, value);
    return bytes;
}

Bytes fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(BankWriter, VarIntsAreBigEndianGroupsOfSevenBits) {
    EXPECT_EQ(varInt(0), Bytes({0x00}));
    EXPECT_EQ(varInt(127), Bytes({0x7F}));
    EXPECT_EQ(varInt(128), Bytes({0x81, 0x00}));
    EXPECT_EQ(varInt(300), Bytes({0x82, 0x2C}));
    EXPECT_EQ(varInt(16384), Bytes({0x81, 0x80, 0x00}));
}

TEST(BankWriter, TheStreamIsCountScratchSizeRecordLengthsThenRecords) {
    BankWriter writer;
    std::string error;
    ASSERT_TRUE(writer.addPicture('r', row({kWhite}), -1, 2, error)) << error;
    // Scratch 624 (the least the reader can skip with); record: 'r', 1, 1, -1 as 65535, 2, data.
    EXPECT_EQ(writer.stream(),
              Bytes({1, 0x84, 0x70, 10, 'r', 1, 1, 0x83, 0xFF, 0x7F, 2, 0x7F, 0xFF, 0x86}));
    EXPECT_EQ(writer.recordOffsets(), std::vector<int32_t>({4, 14}));
}

TEST(BankWriter, TheScratchHoldsTheLargestRecordBehindTheSharedHeader) {
    BankWriter writer;
    std::string error;
    ASSERT_TRUE(writer.addPicture('r', row({kWhite}), 0, 0, error));
    ASSERT_TRUE(writer.addPicture('o', repeated(300, kRed), 0, 0, error));  // 2 + 299 + 1 data bytes
    EXPECT_EQ(writer.scratchSize(), 623 + 302);
}

TEST(BankWriter, RefusesPicturesTheReaderCouldNotShow) {
    BankWriter writer;
    std::string error;
    EXPECT_FALSE(writer.addPicture('x', row({kRed}), 0, 0, error));
    EXPECT_FALSE(writer.addPicture('o', row({kRed, withCode(kRed, 6)}), 0, 0, error));
    EXPECT_NE(error.find("opaque"), std::string::npos);
    EXPECT_FALSE(writer.addPicture('r', row({kRed}), 32768, 0, error));
    EXPECT_FALSE(writer.addPicture('r', RgbaImage(), 0, 0, error));
    EXPECT_FALSE(writer.addPicture('r', RgbaImage(4097, 4096), 0, 0, error));  // past the reader's pixels
    EXPECT_NE(error.find("pixels"), std::string::npos);
    EXPECT_EQ(writer.count(), 0);
    EXPECT_FALSE(writer.writeFiles(ScratchFolder("empty").path(), "app", error));

    ASSERT_TRUE(writer.addPicture('r', row({kRed}), -32768, 32767, error));
    EXPECT_FALSE(writer.addPicture('j', row({kRed}), 0, 0, error));
    EXPECT_NE(error.find("picture 0"), std::string::npos);
    EXPECT_EQ(writer.count(), 1);
}

TEST(BankWriter, SplitsTheStreamIntoFilesOf32768BytesAndRemovesStaleOnes) {
    BankWriter writer;
    std::string error;
    ASSERT_TRUE(writer.addPicture('o', RgbaImage(200, 200, kRed), 0, 0, error));  // 40002 data bytes
    const ScratchFolder folder("split");
    std::ofstream(folder.file("app2.bin")) << "left by a larger bank";
    ASSERT_TRUE(writer.writeFiles(folder.path(), "app", error)) << error;

    const Bytes first = fileBytes(folder.file("app0.bin"));
    const Bytes second = fileBytes(folder.file("app1.bin"));
    EXPECT_EQ(first.size(), 32768u);
    Bytes joinedFiles = first;
    joinedFiles.insert(joinedFiles.end(), second.begin(), second.end());
    EXPECT_EQ(joinedFiles, writer.stream());
    EXPECT_FALSE(std::filesystem::exists(folder.file("app2.bin")));
}

}  // namespace
}  // namespace vornel
