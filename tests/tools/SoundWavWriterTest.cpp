// The sound files as the game's loader reads them: the WAV writer's bytes and the
// vornel-sound command's folder of files.
#include "sound/WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "TestPictures.h"
#include "sound/SoundCommand.h"

namespace vornel {
namespace {

using test::Bytes;
using test::ScratchFolder;

uint32_t littleEndian(const Bytes& bytes, std::size_t at, int32_t byteCount) {
    uint32_t value = 0;
    for (int32_t i = byteCount - 1; i >= 0; --i) {
        value = value << 8 | bytes.at(at + static_cast<std::size_t>(i));
    }
    return value;
}

std::string text(const Bytes& bytes, std::size_t at) {
    const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(at);
    return std::string(start, start + 4);
}

Bytes readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

SampleTrack trackOf(std::initializer_list<float> samples) {
    SampleTrack track(static_cast<int32_t>(samples.size()));
    int32_t i = 0;
    for (float sample : samples) {
        track[i++] = sample;
    }
    return track;
}

// Every field of the 44-byte header for sampleCount 16-bit samples at 8000 Hz, mono.
void expectCanonicalHeader(const Bytes& bytes, uint32_t sampleCount) {
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(text(bytes, 0), "RIFF");
    EXPECT_EQ(littleEndian(bytes, 4, 4), 36 + 2 * sampleCount);
    EXPECT_EQ(text(bytes, 8), "WAVE");
    EXPECT_EQ(text(bytes, 12), "fmt ");
    EXPECT_EQ(littleEndian(bytes, 16, 4), 16u);
    EXPECT_EQ(littleEndian(bytes, 20, 2), 1u);      // PCM
    EXPECT_EQ(littleEndian(bytes, 22, 2), 1u);      // mono
    EXPECT_EQ(littleEndian(bytes, 24, 4), 8000u);   // samples per second
    EXPECT_EQ(littleEndian(bytes, 28, 4), 16000u);  // bytes per second
    EXPECT_EQ(littleEndian(bytes, 32, 2), 2u);      // bytes per sample frame
    EXPECT_EQ(bytes[34], 16);                       // the loader's bits per sample
    EXPECT_EQ(text(bytes, 36), "data");
    EXPECT_EQ(littleEndian(bytes, 40, 4), 2 * sampleCount);  // the loader's data size
    EXPECT_EQ(bytes.size(), 44 + 2 * sampleCount);
}

TEST(SoundWavWriter, WritesTheCanonicalHeaderThenLittleEndianSamples) {
    const Bytes bytes = WavWriter::encode(trackOf({0.5f, -1.0f, 0.0f}));
    expectCanonicalHeader(bytes, 3);
    EXPECT_EQ(Bytes(bytes.begin() + 44, bytes.end()), (Bytes{0x00, 0x40, 0x01, 0x80, 0x00, 0x00}));
}

TEST(SoundWavWriter, HoldsSamplesBeyondFullScaleAtTheLimitsInsteadOfWrapping) {
    EXPECT_EQ(WavWriter::toPcm(2.0f), 32767);
    EXPECT_EQ(WavWriter::toPcm(-3.0f), -32767);
    EXPECT_EQ(WavWriter::toPcm(1.0001f), 32767);
    EXPECT_EQ(WavWriter::toPcm(std::nanf("")), 0);
}

TEST(SoundWavWriter, AnEmptyTrackIsAHeaderWithNoSamples) {
    expectCanonicalHeader(WavWriter::encode(SampleTrack()), 0);
}

TEST(SoundWavWriter, ReportsAFileThatCannotBeCreated) {
    std::string error;
    EXPECT_FALSE(WavWriter::write("/nonexistent-folder/x.wav", trackOf({0.0f}), error));
    EXPECT_NE(error.find("/nonexistent-folder/x.wav"), std::string::npos);
}

TEST(SoundCommand, WritesTheFiveSoundsTheGameAsksFor) {
    const ScratchFolder folder("sound-command");
    const std::string out = folder.file("bin");
    ASSERT_EQ(SoundCommand::run({out}), SoundCommand::kSuccess);
    for (const char* name : {"bounce", "hit", "gong", "bad", "music5"}) {
        SCOPED_TRACE(name);
        const Bytes bytes = readFile(out + "/" + name + ".wav");
        ASSERT_GT(bytes.size(), 44u);
        expectCanonicalHeader(bytes, static_cast<uint32_t>(bytes.size() - 44) / 2);
    }
}

TEST(SoundCommand, RefusesBadArgumentsAndUnwritableFolders) {
    const ScratchFolder folder("sound-command-bad");
    std::ofstream(folder.file("plain")) << "not a folder";
    EXPECT_EQ(SoundCommand::run({}), SoundCommand::kFailure);
    EXPECT_EQ(SoundCommand::run({"a", "b"}), SoundCommand::kFailure);
    EXPECT_EQ(SoundCommand::run({"--verbose"}), SoundCommand::kFailure);
    EXPECT_EQ(SoundCommand::run({folder.file("plain") + "/bin"}), SoundCommand::kFailure);
}

}  // namespace
}  // namespace vornel
