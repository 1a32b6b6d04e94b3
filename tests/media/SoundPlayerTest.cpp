// The sound player and its clips: restarting, buffer boundaries, the mixing rule, 8-bit
// widening, the stall restart, missing devices and files, damaged WAV files, and threads.
#include "media/SoundPlayer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <string_view>
#include <thread>
#include <vector>

#include <unistd.h>
#include <optional>

#include "core/ProgramFolder.h"
#include "core/RunContext.h"

namespace vornel {
namespace {

using Bytes = std::vector<uint8_t>;
using Samples = std::vector<int16_t>;

// A WAV file at 8000 Hz mono whose header claims dataSize bytes of samples.
Bytes wavFile(uint16_t bits, const Bytes& data, uint32_t dataSize) {
    Bytes file;
    const auto put = [&file](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file.push_back(static_cast<uint8_t>(value >> 8 * i));
        }
    };
    const auto text = [&file](std::string_view chars) { file.insert(file.end(), chars.begin(), chars.end()); };
    text("RIFF");
    put(static_cast<uint32_t>(36 + data.size()), 4);
    text("WAVEfmt ");
    put(16, 4);  // the format record: PCM, mono, rate, bytes a second, block, bits
    put(1, 2);
    put(1, 2);
    put(8000, 4);
    put(8000u * bits / 8, 4);
    put(bits / 8, 2);
    put(bits, 2);
    text("data");
    put(dataSize, 4);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

Bytes pcm16(const Samples& samples) {
    Bytes bytes;
    for (int16_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(s));
        bytes.push_back(static_cast<uint8_t>(s >> 8));
    }
    return bytes;
}

// Stands in for the device: records every buffer written (as samples) and plays them on
// demand, on the caller's thread or on a thread of its own. reset hands the queue back at
// once, calling the callback on the resetting thread. With completesPreviousOnWrite, a write
// behind a queued buffer plays that buffer to its end from inside the write, as a device
// thread may while the player is still filling.
class FakeWaveOutput final : public WaveOutput {
public:
    explicit FakeWaveOutput(bool opens = true) : m_opens(opens) {}

    bool open(const WaveFormat& format, Callback callback, void* context) override {
        const std::lock_guard lock(m_mutex);
        ++opened;
        openedFormat = format;
        m_callback = callback;
        m_context = context;
        return m_opens;
    }
    bool prepareHeader(WaveHeader&) override { return true; }
    bool write(WaveHeader& header) override {
        std::size_t queued = 0;
        {
            const std::lock_guard lock(m_mutex);
            Samples& samples = m_written.emplace_back(header.bufferLength / 2);
            for (std::size_t i = 0; i < samples.size(); ++i) {
                samples[i] = static_cast<int16_t>(header.data[2 * i] | header.data[2 * i + 1] << 8);
            }
            m_queue.push_back(&header);
            queued = m_queue.size();
        }
        if (completesPreviousOnWrite && queued > 1) {
            completeOne();
        }
        return true;
    }
    uint32_t position() override { return m_position; }
    void reset() override {
        ++resets;
        while (handBack(0)) {
        }
    }
    bool unprepareHeader(WaveHeader&) override { return true; }
    void close() override {
        const std::lock_guard lock(m_mutex);
        ++closed;
        m_callback = nullptr;
    }

    // Plays the oldest queued buffer to its end; false when none is queued.
    bool completeOne() { return handBack(SoundPlayer::kBufferBytes / 2); }
    void playOnOwnThread() {
        m_thread = std::jthread([this](std::stop_token stop) {
            while (!stop.stop_requested()) {
                if (!completeOne()) {
                    std::this_thread::sleep_for(std::chrono::microseconds(100));
                }
            }
        });
    }
    void stopOwnThread() { m_thread = {}; }  // requests the stop and joins
    std::vector<Samples> written() {
        const std::lock_guard lock(m_mutex);
        return m_written;
    }

    std::atomic<int> opened{0}, closed{0}, resets{0};
    WaveFormat openedFormat{};
    bool completesPreviousOnWrite = false;

private:
    bool handBack(uint32_t samplesPlayed) {
        std::unique_lock lock(m_mutex);
        if (m_queue.empty()) {
            return false;
        }
        WaveHeader* header = m_queue.front();
        m_queue.pop_front();
        m_position += samplesPlayed;
        const Callback callback = m_callback;
        void* const context = m_context;
        lock.unlock();  // the callback writes the next buffer
        header->flags.fetch_or(WaveHeader::kDone);
        if (callback != nullptr) {
            callback(context, kDoneMessage, header);
        }
        return true;
    }

    const bool m_opens;
    std::mutex m_mutex;
    std::deque<WaveHeader*> m_queue;
    std::vector<Samples> m_written;
    Callback m_callback = nullptr;
    void* m_context = nullptr;
    std::atomic<uint32_t> m_position{0};
    std::jthread m_thread;
};

// A temporary program folder for the sound files of one test.
class SoundFolder {
public:
    SoundFolder() : m_path(std::filesystem::temp_directory_path() / ("vornel-sound-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(m_path);
        m_context.emplace(m_path.string());
    }
    ~SoundFolder() {
        m_context.reset();
        std::filesystem::remove_all(m_path);
    }
    std::string write(const std::string& name, const Bytes& bytes) {
        std::ofstream(pathOf(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return pathOf(name);
    }
    std::string pathOf(const std::string& name) const { return (m_path / (name + ".wav")).string(); }

private:
    std::filesystem::path m_path;
    std::optional<RunContext> m_context;
};

class SoundPlayerTest : public testing::Test {
protected:
    SoundPlayerTest() { m_player.setWaveOutput(&m_output); }

    std::string writeSamples(const std::string& name, const Samples& samples) {
        const Bytes data = pcm16(samples);
        return m_folder.write(name, wavFile(16, data, static_cast<uint32_t>(data.size())));
    }

    SoundFolder m_folder;
    FakeWaveOutput m_output;
    SoundPlayer m_player;  // declared last: stops before the output goes away
};

#ifndef VORNEL_THREADED_SOUND_TESTS

// count samples first, first + 1, ..., then zeros to fill a buffer of 2000.
Samples ramp(int32_t first, int32_t count) {
    Samples samples(2000, 0);
    for (int32_t i = 0; i < count; ++i) {
        samples[static_cast<std::size_t>(i)] = static_cast<int16_t>(first + i);
    }
    return samples;
}

TEST_F(SoundPlayerTest, PlayingAClipAgainRestartsItInsteadOfAddingAVoice) {
    Samples tune = ramp(0, 2000), rest = ramp(2000, 2000), end = ramp(4000, 2000);
    tune.insert(tune.end(), rest.begin(), rest.end());
    tune.insert(tune.end(), end.begin(), end.end());
    tune.push_back(6000);
    const std::string path = writeSamples("tune", tune);
    m_player.play(path);
    EXPECT_EQ(m_output.openedFormat.samplesPerSecond, 8000u);
    EXPECT_EQ(m_output.openedFormat.bitsPerSample, 16u);
    m_player.play(path);  // both buffers are queued: nothing is written yet
    ASSERT_EQ(m_output.written().size(), 2u);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(m_output.completeOne());
    }
    // From the start again, not doubled; the last buffer's silence covers what it held before.
    const std::vector<Samples> expected = {ramp(0, 2000),    ramp(2000, 2000), ramp(0, 2000),
                                           ramp(2000, 2000), ramp(4000, 2000), ramp(6000, 1)};
    EXPECT_EQ(m_output.written(), expected);
}

// The buffer that comes back here finds the fill lock taken by the fill that is writing the
// other one; it is refilled when that fill is done, not left until the next sound.
TEST_F(SoundPlayerTest, ABufferThatComesBackDuringAFillIsRefilledSoTheTunePlaysToItsEnd) {
    m_output.completesPreviousOnWrite = true;
    Samples tune;
    std::vector<Samples> expected;
    for (int32_t part = 0; part < 5; ++part) {
        expected.push_back(ramp(part * 2000, 2000));
        tune.insert(tune.end(), expected.back().begin(), expected.back().end());
    }
    m_player.play(writeSamples("music5", tune));
    EXPECT_EQ(m_output.written(), expected);
}

TEST_F(SoundPlayerTest, AClipOfExactlyOneBufferEndsAfterIt) {
    m_player.play(writeSamples("hit", Samples(2000, 1000)));
    ASSERT_TRUE(m_output.completeOne());
    EXPECT_EQ(m_output.written().size(), 1u);
}

TEST_F(SoundPlayerTest, OneByteMoreNeedsASecondBufferOfThatByteAndSilence) {
    auto* clip = new SoundClip("made");
    ASSERT_TRUE(clip->assignSamples(Bytes(4001, 0x11).data(), 4001));
    m_player.addClip(clip);
    m_player.play("made");
    Samples last(2000, 0);
    last[0] = 0x11;
    EXPECT_EQ(m_output.written(), (std::vector<Samples>{Samples(2000, 0x1111), last}));
}

TEST_F(SoundPlayerTest, MixingAddsHalvesTheOlderClipOrKeepsTheNewer) {
    struct Case {
        int16_t newer, older;  // the newer clip is copied first, the older mixed in over it
        int32_t mixed;
    } const cases[] = {
        {20000, 20000, 30000},   {32000, 32000, 32000},   {-20000, -20000, -30000}, {12767, 20000, 32767},
        {22767, 20000, 22767},   {22766, 20000, 32766},   {-12768, -20000, -32768}, {-22768, -20000, -32768},
        {-30000, -5001, -32501}, {100, -300, -200},
    };
    Samples older(6000, 0), newer(2000, 0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        older[4000 + i] = cases[i].older;  // its third buffer meets the newer clip's first
        newer[i] = cases[i].newer;
    }
    m_player.play(writeSamples("older", older));
    m_player.play(writeSamples("newer", newer));
    ASSERT_TRUE(m_output.completeOne());
    const Samples mixed = m_output.written().at(2);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(mixed[i], cases[i].mixed) << cases[i].newer << " + " << cases[i].older;
    }
}

TEST_F(SoundPlayerTest, EightBitSamplesAreCentredAndWidened) {
    m_player.play(m_folder.write("bounce", wavFile(8, {0x80, 0xFF, 0x00, 0x01}, 4)));
    Samples expected(2000, 0);
    expected[1] = 0x7F00;
    expected[2] = -0x8000;
    expected[3] = -0x7F00;
    EXPECT_EQ(m_output.written(), std::vector<Samples>{expected});
}

TEST_F(SoundPlayerTest, FivePlaysWithoutProgressRestartTheDeviceAndReloadTheClip) {
    const std::string path = writeSamples("gong", {100});
    for (int i = 0; i < 4; ++i) {
        m_player.play(path);
    }
    EXPECT_EQ(m_output.closed, 0);
    writeSamples("gong", {200});  // only a reload can see this
    m_player.play(path);
    EXPECT_EQ(m_output.resets, 1);
    EXPECT_EQ(m_output.closed, 1);
    EXPECT_EQ(m_output.opened, 2);
    EXPECT_EQ(m_output.written().back()[0], 200);
}

TEST_F(SoundPlayerTest, PlaysWithProgressBetweenThemKeepTheDeviceOpen) {
    const std::string path = writeSamples("gong", {100});
    for (int i = 0; i < 8; ++i) {
        m_player.play(path);
        ASSERT_TRUE(m_output.completeOne());
    }
    EXPECT_EQ(m_output.closed, 0);
    EXPECT_EQ(m_output.written().size(), 8u);
}

TEST(SoundPlayer, WithoutADeviceTheFirstPlayTurnsSoundOffForGood) {
    SoundFolder folder;
    FakeWaveOutput output(false);
    SoundPlayer player;
    player.setWaveOutput(&output);
    player.play(folder.write("hit", wavFile(16, pcm16({1}), 2)));
    EXPECT_FALSE(player.enabled());
    player.play(folder.pathOf("hit"));
    EXPECT_EQ(output.opened, 1);
    EXPECT_TRUE(output.written().empty());
}

TEST(SoundPlayer, WithoutAWaveOutputNothingPlaysAndSoundStaysOn) {
    SoundPlayer player;
    player.play("/nowhere/hit.wav");
    EXPECT_TRUE(player.enabled());
}

TEST_F(SoundPlayerTest, AMissingFileIsReportedOnceAndPlaysAsOneBufferOfSilence) {
    const std::string path = m_folder.pathOf("bad");
    testing::internal::CaptureStderr();
    m_player.play(path);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find(path), std::string::npos) << report;
    EXPECT_EQ(m_output.written(), std::vector<Samples>{Samples(2000, 0)});

    testing::internal::CaptureStderr();
    m_player.play(path);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(SoundPlayerTest, PlaySoundReadsNameDotWavFromTheProgramFolderAndRefusesOverlongPaths) {
    writeSamples("music5", {7});
    EXPECT_EQ(m_player.playSound("music5", 1), 1);
    EXPECT_EQ(m_player.playSound(std::string(300, 'a').c_str(), 0), 1);
    ASSERT_EQ(m_output.written().size(), 1u);
    EXPECT_EQ(m_output.written()[0][0], 7);
}

TEST(SoundClip, DamagedFilesGiveOnlyTheSamplesReallyThere) {
    SoundFolder folder;
    struct Case {
        const char* what;
        Bytes file;
        uint32_t length;
    } const cases[] = {
        {"shorter than a header", Bytes(10, 0x41), 0},
        {"claims more than it holds", wavFile(16, pcm16({1, 2, 3}), 100000), 6},
        {"claims more than any sound", wavFile(8, {0x90, 0x70}, 0xFFFFFFFF), 4},
        {"half a sample at the end", wavFile(16, {1, 0, 2, 0, 3}, 5), 4},
        {"24-bit", wavFile(24, Bytes(9, 1), 9), 0},
        {"claims fewer than it holds", wavFile(16, pcm16({5, 6, 7}), 2), 2},
    };
    testing::internal::CaptureStderr();
    for (const Case& c : cases) {
        const std::unique_ptr<SoundClip> clip(SoundClip::load(folder.write("damaged", c.file)));
        EXPECT_EQ(clip->length(), c.length) << c.what;
    }
    testing::internal::GetCapturedStderr();
}

// Proves its point in the sanitizer build: no read or write outside a block.
TEST_F(SoundPlayerTest, RandomBytesAreNeverReadOrWrittenOutOfBounds) {
    std::mt19937 random(20240531);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 200; ++i) {
        Bytes file(random() % 160);
        for (uint8_t& byte : file) {
            byte = static_cast<uint8_t>(random());
        }
        if (file.size() > 34 && i % 2 == 0) {
            file[34] = i % 4 == 0 ? 8 : 16;  // past the bit check half of the time
        }
        m_player.play(m_folder.write("random" + std::to_string(i), file));
        m_output.completeOne();
    }
    testing::internal::GetCapturedStderr();
}

#else  // VORNEL_THREADED_SOUND_TESTS

using SoundPlayerThreads = SoundPlayerTest;

TEST_F(SoundPlayerThreads, PlayingWhileTheOutputRefillsOnItsOwnThreadThenStopping) {
    const std::string paths[] = {writeSamples("short", Samples(500, 300)), writeSamples("long", Samples(9000, -400)),
                                 writeSamples("mid", Samples(3000, 500))};
    m_output.playOnOwnThread();
    for (int i = 0; i < 300; ++i) {
        m_player.play(paths[i % 3]);
        std::this_thread::sleep_for(std::chrono::microseconds(i % 7 * 50));
    }
    m_player.stopSound();
    const std::size_t writtenAtStop = m_output.written().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    m_output.stopOwnThread();
    EXPECT_GE(writtenAtStop, 100u);
    EXPECT_EQ(m_output.written().size(), writtenAtStop);  // a closed device is never refilled
}

#endif

}  // namespace
}  // namespace vornel
