// Demo files: what is written reads back the same, and a file cut short, damaged, foreign or
// of another format version is refused or kept up to its last whole frame, never more.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <unistd.h>

#include "demo/DemoReader.h"
#include "demo/DemoWriter.h"

namespace vornel {
namespace {

using Frames = std::vector<std::vector<DemoRecord>>;

class DemoFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        header.gameVersion = "1.01";
        header.profile = "pocketpc";
        header.seed = 0x12345678;
        header.settings = {1, 0, 2, 0, 255};
    }
    void TearDown() override { std::filesystem::remove(path); }

    // Records the frames and ends with the checksum; answers the file's bytes.
    std::vector<uint8_t> record(const Frames& frames, uint32_t checksum) {
        DemoWriter writer;
        std::string error;
        EXPECT_TRUE(writer.open(path, header, error)) << error;
        for (const auto& records : frames) {
            for (const DemoRecord& one : records) {
                writer.record(one.kind, one.value);
            }
            writer.endFrame();
        }
        EXPECT_TRUE(writer.finish(checksum, error)) << error;
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    static Frames framesOf(const DemoReader& reader) {
        Frames frames;
        for (std::size_t i = 0; i < reader.frameCount(); ++i) {
            frames.push_back(reader.frame(i));
        }
        return frames;
    }

    DemoHeader header;
    std::string path = (std::filesystem::temp_directory_path() / ("vornel-demo-" + std::to_string(::getpid()))).string();
    const Frames frames = {{{1, 0}, {2, -1}, {3, 300}},
                           {},
                           {{4, std::numeric_limits<int32_t>::min()}, {5, std::numeric_limits<int32_t>::max()}}};
};

TEST_F(DemoFileTest, WhatIsRecordedReadsBackWithItsHeaderFramesAndChecksum) {
    record(frames, 0xCAFEF00D);
    DemoReader reader;
    std::string error;
    ASSERT_TRUE(reader.open(path, error)) << error;
    EXPECT_EQ(reader.header(), header);
    EXPECT_EQ(framesOf(reader), frames);
    EXPECT_TRUE(reader.isComplete()) << reader.incompleteReason();
    EXPECT_EQ(reader.storedChecksum(), 0xCAFEF00Du);
}

// Every cut of the file: the header whole or refused, then exactly the frames written whole.
TEST_F(DemoFileTest, AFileCutShortKeepsItsWholeFramesAndSaysItIsIncomplete) {
    const std::vector<uint8_t> bytes = record(frames, 7);
    std::vector<std::size_t> frameEnds;  // file length after each whole frame
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        DemoReader reader;
        std::string error;
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        if (!reader.parse(cut, error)) {
            EXPECT_FALSE(error.empty());
            EXPECT_TRUE(frameEnds.empty()) << "refused after a whole frame at " << length;
            continue;
        }
        EXPECT_FALSE(reader.isComplete()) << length;
        EXPECT_FALSE(reader.incompleteReason().empty());
        const Frames kept = framesOf(reader);
        ASSERT_LE(kept.size(), frames.size());
        EXPECT_EQ(kept, Frames(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(kept.size())));
        if (frameEnds.size() < kept.size()) {
            frameEnds.push_back(length);
        }
    }
    EXPECT_EQ(frameEnds.size(), frames.size());
}

// Version 2 dates the recording and indexes its games between the frames, a later entry of a
// game replacing the earlier; a version-1 file (the golden demos among them) reads as before.
TEST_F(DemoFileTest, TheGamesOfASessionAreIndexedAndVersionOneStillReads) {
    header.recordedAt = 1796812345;
    DemoWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(path, header, error)) << error;
    const DemoGame first{1, 1, 1, true, 1, 0, false};
    const DemoGame second{2, 3, 3, false, 0, 0, false};
    for (uint32_t frame = 0; frame < 6; ++frame) {
        writer.record(demo::kTicks, static_cast<int32_t>(1000 + 32 * frame));
        writer.endFrame();
        if (frame == 1) {
            writer.recordGame(first);
        } else if (frame == 2) {
            writer.recordGame({1, 1, 2, true, 11, 3, true});
        } else if (frame == 3) {
            writer.recordGame(second);
        }
    }
    ASSERT_TRUE(writer.finish(0, error)) << error;
    DemoReader reader;
    ASSERT_TRUE(reader.open(path, error)) << error;
    EXPECT_EQ(reader.header(), header);
    EXPECT_TRUE(reader.isComplete()) << reader.incompleteReason();
    ASSERT_EQ(reader.games().size(), 2u);
    EXPECT_EQ(reader.games()[0], (DemoGame{1, 1, 2, true, 11, 3, true}));
    EXPECT_EQ(reader.games()[1], (DemoGame{2, 3, 5, false, 0, 0, false})) << "left: it lasts to the last frame";
    EXPECT_EQ(reader.ticksAt(4), 1128u);
    EXPECT_EQ(reader.length(), 160u);

    header.formatVersion = 1;
    header.recordedAt = 0;
    ASSERT_TRUE(writer.open(path, header, error)) << error;
    writer.endFrame();
    writer.recordGame(first);  // version 1 has no index
    ASSERT_TRUE(writer.finish(0, error)) << error;
    ASSERT_TRUE(reader.open(path, error)) << error;
    EXPECT_EQ(reader.header(), header);
    EXPECT_TRUE(reader.isComplete()) << reader.incompleteReason();
    EXPECT_TRUE(reader.games().empty());
    EXPECT_FALSE(writer.create(path, header, error)) << "a replay never replaces a file";
}

TEST_F(DemoFileTest, ForeignFilesOtherVersionsAndDamageAreToldApart) {
    std::vector<uint8_t> bytes = record(frames, 7);
    DemoReader reader;
    std::string error;
    EXPECT_FALSE(reader.parse({'R', 'I', 'F', 'F', 0, 0, 0, 0, 0, 0, 0}, error));
    EXPECT_EQ(error, "not a demo file");

    std::vector<uint8_t> later = bytes;
    later[8] = 4;  // the format version's low byte
    EXPECT_FALSE(reader.parse(later, error));
    EXPECT_EQ(error, "a demo of format version 4; this program plays versions 1 to 3");

    const std::size_t trailer = 1 + 1 + 8 + 4;
    bytes[bytes.size() - trailer - 4 - 1] ^= 0x40;  // the last frame's last byte: its check fails
    ASSERT_TRUE(reader.parse(bytes, error));
    EXPECT_EQ(reader.frameCount(), 2u);
    EXPECT_FALSE(reader.isComplete());
    EXPECT_NE(reader.incompleteReason().find("damaged after frame 2"), std::string::npos) << reader.incompleteReason();
}

}  // namespace
}  // namespace vornel
