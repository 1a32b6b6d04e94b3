// PNG files in and out, and damaged ones.
#include "bank/PngFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TestPictures.h"

namespace vornel {
namespace {

using namespace test;

TEST(PngFile, AnRgbaPictureReadsBackUnchanged) {
    const ScratchFolder folder("png");
    const RgbaImage image = row({0xFF102030, 0x80FFFFFF, 0x00000000, 0x01ABCDEF});
    std::string error;
    ASSERT_TRUE(PngFile::write(folder.file("a.png"), image, error)) << error;
    RgbaImage read;
    ASSERT_TRUE(PngFile::read(folder.file("a.png"), read, error)) << error;
    EXPECT_EQ(read.width(), 4);
    EXPECT_EQ(read.pixels(), image.pixels());
}

TEST(PngFile, DamagedOrMissingFilesAreAMessageNotACrash) {
    const ScratchFolder folder("png");
    std::string error;
    ASSERT_TRUE(PngFile::write(folder.file("whole.png"), RgbaImage(40, 40, kRed), error));
    std::ifstream whole(folder.file("whole.png"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    std::ofstream(folder.file("cut.png"), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    std::ofstream(folder.file("text.png")) << "not a picture";

    RgbaImage read(1, 1, kGreen);
    for (const char* name : {"cut.png", "text.png", "missing.png"}) {
        error.clear();
        EXPECT_FALSE(PngFile::read(folder.file(name), read, error)) << name;
        EXPECT_FALSE(error.empty()) << name;
        EXPECT_EQ(read.pixels(), Words({kGreen})) << name;
    }
}

}  // namespace
}  // namespace vornel
