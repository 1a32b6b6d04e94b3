// The headless wave output on virtual time: buffers complete in order at the end of their
// playing time, the position counts played samples, reset hands buffers back, and the
// recording follows device time sample for sample.
#include "backends/headless/HeadlessWaveOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <memory>

#include "DeviceTestSupport.h"
#include "device/SoundGate.h"
#include "device/VirtualClock.h"
#include "harness/WavRecorder.h"

namespace vornel {
namespace {

// A header with its own samples.
struct Buffer {
    explicit Buffer(std::vector<int16_t> samples) : samples(std::move(samples)) {
        header.data = reinterpret_cast<uint8_t*>(this->samples.data());
        header.bufferLength = static_cast<uint32_t>(this->samples.size() * 2);
    }
    std::vector<int16_t> samples;
    WaveHeader header;
};

std::vector<int16_t> ramp(int16_t first, std::size_t count) {
    std::vector<int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<int16_t>(first + static_cast<int16_t>(i));
    }
    return samples;
}

// Notes each completed header with the device time it came back at.
class Completions {
public:
    explicit Completions(Clock& clock) : m_clock(clock) {}

    static void callback(void* context, uint32_t message, WaveHeader* header) {
        auto* self = static_cast<Completions*>(context);
        self->headers.push_back(header);
        self->messages.push_back(message);
        self->doneWhenCalled.push_back((header->flags.load() & WaveHeader::kDone) != 0);
        self->atMicroseconds.push_back(self->m_clock.microseconds());
    }

    std::vector<WaveHeader*> headers;
    std::vector<uint32_t> messages;
    std::vector<bool> doneWhenCalled;
    std::vector<uint64_t> atMicroseconds;

private:
    Clock& m_clock;
};

// On virtual time, with the test's thread taking the window's turns: the output's thread runs
// only while the test sleeps, and every completion comes at its exact moment.
class HeadlessWaveOutputTest : public testing::Test {
protected:
    void SetUp() override {
        m_clock.enroll(Clock::Role::kWindow);
        m_clock.attach(Clock::Role::kWindow);
    }
    void TearDown() override {
        if (m_output) {
            m_output->close();
        }
        m_clock.leave();
    }
    void open(WavRecorder* recorder = nullptr) {
        m_output = std::make_unique<HeadlessWaveOutput>(m_clock, recorder);
        ASSERT_TRUE(m_output->open(WaveFormat{}, Completions::callback, &m_completions));
    }
    // The test's thread waits in virtual time: the output's thread has its turns meanwhile.
    void passDeviceTime(uint32_t milliseconds) { m_clock.sleep(milliseconds); }
    void queue(Buffer& buffer) {
        ASSERT_TRUE(m_output->prepareHeader(buffer.header));
        ASSERT_TRUE(m_output->write(buffer.header));
    }

    VirtualClock m_clock;
    Completions m_completions{m_clock};
    std::unique_ptr<HeadlessWaveOutput> m_output;
};

TEST_F(HeadlessWaveOutputTest, BuffersCompleteInOrderAtTheEndOfTheirPlayingTime) {
    open();
    Buffer first(std::vector<int16_t>(2000, 1));  // 250 ms at 8000 samples a second
    Buffer second(std::vector<int16_t>(1000, 2));  // 125 ms
    passDeviceTime(100);
    queue(first);
    queue(second);
    passDeviceTime(1000);
    EXPECT_EQ(m_completions.headers, (std::vector<WaveHeader*>{&first.header, &second.header}));
    EXPECT_EQ(m_completions.messages, (std::vector<uint32_t>{WaveOutput::kDoneMessage, WaveOutput::kDoneMessage}));
    EXPECT_EQ(m_completions.doneWhenCalled, (std::vector<bool>{true, true}));
    EXPECT_EQ(m_completions.atMicroseconds, (std::vector<uint64_t>{350000, 475000}));
    EXPECT_EQ(first.header.flags.load() & WaveHeader::kInQueue, 0u);
}

TEST_F(HeadlessWaveOutputTest, ThePositionCountsPlayedSamplesAndStandsStillInSilence) {
    open();
    Buffer buffer(std::vector<int16_t>(8000, 3));  // one second
    queue(buffer);
    passDeviceTime(500);
    EXPECT_EQ(m_output->position(), 4000u);
    EXPECT_TRUE(m_completions.headers.empty());
    passDeviceTime(600);
    EXPECT_EQ(m_completions.headers.size(), 1u);
    EXPECT_EQ(m_output->position(), 8000u);
    passDeviceTime(200);
    EXPECT_EQ(m_output->position(), 8000u);
}

// Reset and a queued buffer that cannot be unprepared until then.
TEST_F(HeadlessWaveOutputTest, ResetHandsEveryQueuedBufferBackAsDone) {
    open();
    Buffer first(std::vector<int16_t>(8000, 1));
    Buffer second(std::vector<int16_t>(8000, 2));
    queue(first);
    queue(second);
    passDeviceTime(50);
    EXPECT_FALSE(m_output->unprepareHeader(first.header));
    m_output->reset();
    ASSERT_EQ(m_completions.headers, (std::vector<WaveHeader*>{&first.header, &second.header}));
    EXPECT_NE(first.header.flags.load() & WaveHeader::kDone, 0u);
    EXPECT_NE(second.header.flags.load() & WaveHeader::kDone, 0u);
    EXPECT_EQ(m_output->position(), 400u);  // the 50 ms played before the reset
    EXPECT_TRUE(m_output->unprepareHeader(first.header));
    EXPECT_EQ(first.header.flags.load() & WaveHeader::kPrepared, 0u);
}

TEST_F(HeadlessWaveOutputTest, OnlyPreparedHeadersOfAnOpenOutputAreAccepted) {
    HeadlessWaveOutput output(m_clock, nullptr);
    Buffer buffer(std::vector<int16_t>(8, 1));
    output.prepareHeader(buffer.header);
    EXPECT_FALSE(output.write(buffer.header));  // not open
    WaveFormat stereo;
    stereo.channels = 2;
    EXPECT_FALSE(output.open(stereo, nullptr, nullptr));
    ASSERT_TRUE(output.open(WaveFormat{}, nullptr, nullptr));
    Buffer unprepared(std::vector<int16_t>(8, 1));
    EXPECT_FALSE(output.write(unprepared.header));
    output.close();
}

uint32_t littleEndian(const std::vector<uint8_t>& bytes, std::size_t at, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + i];
    }
    return value;
}

TEST_F(HeadlessWaveOutputTest, TheRecordingFollowsDeviceTimeWithTheBuffersBackToBack) {
    testing_support::TemporaryFolder folder("wave-recording");
    const std::string path = folder.file("played.wav");
    WavRecorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.open(path, error)) << error;
    open(&recorder);
    passDeviceTime(100);
    Buffer first(ramp(1, 400));  // 50 ms each
    Buffer second(ramp(401, 400));
    queue(first);
    queue(second);
    passDeviceTime(140);
    m_output->close();
    recorder.close();

    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(littleEndian(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(littleEndian(bytes, 16, 4), 16u);
    EXPECT_EQ(littleEndian(bytes, 20, 2), 1u);     // PCM
    EXPECT_EQ(littleEndian(bytes, 22, 2), 1u);     // mono
    EXPECT_EQ(littleEndian(bytes, 24, 4), 8000u);
    EXPECT_EQ(littleEndian(bytes, 28, 4), 16000u);
    EXPECT_EQ(littleEndian(bytes, 32, 2), 2u);
    EXPECT_EQ(littleEndian(bytes, 34, 2), 16u);
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    EXPECT_EQ(littleEndian(bytes, 40, 4), bytes.size() - 44);

    // 100 ms of silence from launch until the write, both ramps without a gap, then silence
    // until the output closed at 240 ms.
    std::vector<int16_t> samples((bytes.size() - 44) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(littleEndian(bytes, 44 + i * 2, 2));
    }
    std::vector<int16_t> expected(800, 0);
    const std::vector<int16_t> ramps = ramp(1, 800);
    expected.insert(expected.end(), ramps.begin(), ramps.end());
    expected.resize(240 * 8, 0);
    EXPECT_EQ(samples, expected);
}

// The replay viewer's closed gate: the buffers come back at their moments, only silent.
TEST_F(HeadlessWaveOutputTest, AClosedSoundGatePlaysSilenceAtTheSamePace) {
    testing_support::TemporaryFolder folder("wave-gate");
    WavRecorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.open(folder.file("gated.wav"), error)) << error;
    std::atomic<bool> audible{false};
    SoundGate::follow(&audible);
    open(&recorder);
    Buffer tone(ramp(1, 800));  // 100 ms
    queue(tone);
    passDeviceTime(200);
    SoundGate::follow(nullptr);
    m_output->close();
    recorder.close();
    EXPECT_EQ(m_completions.atMicroseconds, (std::vector<uint64_t>{100000}));
    EXPECT_EQ(recorder.samplesWritten(), 1600u);
    std::ifstream file(folder.file("gated.wav"), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(std::count(bytes.begin() + 44, bytes.end(), 0), static_cast<std::ptrdiff_t>(bytes.size() - 44));
}

TEST_F(HeadlessWaveOutputTest, ClosingAnOutputThatNeverPlayedStillRecordsTheSilenceSoFar) {
    WavRecorder recorder;
    std::string error;
    testing_support::TemporaryFolder folder("wave-silence");
    ASSERT_TRUE(recorder.open(folder.file("quiet.wav"), error)) << error;
    HeadlessWaveOutput output(m_clock, &recorder);
    passDeviceTime(250);
    output.close();
    EXPECT_EQ(recorder.samplesWritten(), 2000u);  // 250 ms at 8000 samples a second
}

}  // namespace
}  // namespace vornel
