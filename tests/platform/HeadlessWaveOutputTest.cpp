// The headless wave output: buffers complete in order after their playing time in device
// time, the position counts played samples, reset hands buffers back, and the recording
// follows device time.
#include "platform/headless/HeadlessWaveOutput.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "DeviceTestSupport.h"

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
    explicit Completions(DeviceClock& clock) : m_clock(clock) {}

    static void callback(void* context, uint32_t message, WaveHeader* header) {
        auto* self = static_cast<Completions*>(context);
        std::lock_guard<std::mutex> guard(self->m_lock);
        self->headers.push_back(header);
        self->messages.push_back(message);
        self->doneWhenCalled.push_back((header->flags.load() & WaveHeader::kDone) != 0);
        self->atMicroseconds.push_back(self->m_clock.microseconds());
        self->m_changed.notify_all();
    }

    bool waitFor(std::size_t count) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return headers.size() >= count; });
    }

    std::vector<WaveHeader*> headers;
    std::vector<uint32_t> messages;
    std::vector<bool> doneWhenCalled;
    std::vector<uint64_t> atMicroseconds;

private:
    DeviceClock& m_clock;
    std::mutex m_lock;
    std::condition_variable m_changed;
};

class HeadlessWaveOutputTest : public testing::Test {
protected:
    void openAt(int32_t speed, WavRecorder* recorder = nullptr) {
        m_clock = std::make_unique<DeviceClock>(speed);
        m_completions = std::make_unique<Completions>(*m_clock);
        m_output = std::make_unique<HeadlessWaveOutput>(*m_clock, recorder);
        ASSERT_TRUE(m_output->open(WaveFormat{}, Completions::callback, m_completions.get()));
    }
    void queue(Buffer& buffer) {
        ASSERT_TRUE(m_output->prepareHeader(buffer.header));
        ASSERT_TRUE(m_output->write(buffer.header));
    }

    std::unique_ptr<DeviceClock> m_clock;
    std::unique_ptr<Completions> m_completions;
    std::unique_ptr<HeadlessWaveOutput> m_output;
};

TEST_F(HeadlessWaveOutputTest, BuffersCompleteInOrderAfterTheirPlayingTime) {
    openAt(10);
    Buffer first(std::vector<int16_t>(2000, 1));  // 250 ms at 8000 samples a second
    Buffer second(std::vector<int16_t>(1000, 2));  // 125 ms
    const uint64_t start = m_clock->microseconds();
    queue(first);
    queue(second);
    ASSERT_TRUE(m_completions->waitFor(2));
    EXPECT_EQ(m_completions->headers, (std::vector<WaveHeader*>{&first.header, &second.header}));
    EXPECT_EQ(m_completions->messages, (std::vector<uint32_t>{WaveOutput::kDoneMessage, WaveOutput::kDoneMessage}));
    EXPECT_EQ(m_completions->doneWhenCalled, (std::vector<bool>{true, true}));
    const uint64_t firstAt = m_completions->atMicroseconds[0] - start;
    const uint64_t secondAt = m_completions->atMicroseconds[1] - start;
    EXPECT_GE(firstAt, 250000u);
    EXPECT_LT(firstAt, 250000u + 400000u);  // 40 ms of real lateness at speed 10
    EXPECT_GE(secondAt, 375000u);
    EXPECT_LT(secondAt, 375000u + 400000u);
    EXPECT_EQ(first.header.flags.load() & WaveHeader::kInQueue, 0u);
}

TEST_F(HeadlessWaveOutputTest, ThePositionCountsPlayedSamplesAndStandsStillInSilence) {
    openAt(10);
    Buffer buffer(std::vector<int16_t>(8000, 3));  // one second
    queue(buffer);
    std::this_thread::sleep_until(m_clock->realTimeOf(m_clock->microseconds() + 500000));
    const uint32_t halfway = m_output->position();
    EXPECT_GE(halfway, 4000u);
    EXPECT_LT(halfway, 8000u);
    ASSERT_TRUE(m_completions->waitFor(1));
    EXPECT_EQ(m_output->position(), 8000u);
    m_clock->sleep(200);
    EXPECT_EQ(m_output->position(), 8000u);
}

TEST_F(HeadlessWaveOutputTest, ResetHandsEveryQueuedBufferBackAsDone) {
    openAt(1);
    Buffer first(std::vector<int16_t>(8000, 1));
    Buffer second(std::vector<int16_t>(8000, 2));
    queue(first);
    queue(second);
    m_output->reset();
    ASSERT_EQ(m_completions->headers, (std::vector<WaveHeader*>{&first.header, &second.header}));
    EXPECT_NE(first.header.flags.load() & WaveHeader::kDone, 0u);
    EXPECT_NE(second.header.flags.load() & WaveHeader::kDone, 0u);
    EXPECT_LT(m_output->position(), 800u);  // reset came long before a tenth of the first second
    EXPECT_TRUE(m_output->unprepareHeader(first.header));
    EXPECT_EQ(first.header.flags.load() & WaveHeader::kPrepared, 0u);
}

TEST_F(HeadlessWaveOutputTest, AQueuedBufferCannotBeUnprepared) {
    openAt(1);
    Buffer buffer(std::vector<int16_t>(8000, 1));
    queue(buffer);
    EXPECT_FALSE(m_output->unprepareHeader(buffer.header));
    m_output->reset();
}

TEST_F(HeadlessWaveOutputTest, OnlyPreparedHeadersOfAnOpenOutputAreAccepted) {
    DeviceClock clock(1);
    HeadlessWaveOutput output(clock, nullptr);
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
    openAt(20, &recorder);
    m_clock->sleep(100);
    Buffer first(ramp(1, 400));  // 50 ms each
    Buffer second(ramp(401, 400));
    const uint64_t before = m_clock->microseconds();
    queue(first);
    queue(second);
    const uint64_t after = m_clock->microseconds();
    ASSERT_TRUE(m_completions->waitFor(2));
    m_clock->sleep(40);
    m_output->close();
    const uint64_t closedAt = m_clock->microseconds();
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

    std::vector<int16_t> samples((bytes.size() - 44) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(littleEndian(bytes, 44 + i * 2, 2));
    }
    // Silence from launch until the write, then both ramps without a gap, then silence
    // until the output closed.
    std::size_t start = 0;
    while (start < samples.size() && samples[start] == 0) {
        ++start;
    }
    EXPECT_GE(start, before / 125);
    EXPECT_LE(start, after / 125 + 1);
    ASSERT_GE(samples.size(), start + 800);
    EXPECT_EQ(std::vector<int16_t>(samples.begin() + start, samples.begin() + start + 800), ramp(1, 800));
    EXPECT_LE(samples.size(), closedAt / 125);
    EXPECT_GE(samples.size(), start + 800 + 40 * 8);
}

TEST_F(HeadlessWaveOutputTest, ClosingAnOutputThatNeverPlayedStillRecordsTheSilenceSoFar) {
    DeviceClock clock(20);
    WavRecorder recorder;
    std::string error;
    testing_support::TemporaryFolder folder("wave-silence");
    ASSERT_TRUE(recorder.open(folder.file("quiet.wav"), error)) << error;
    HeadlessWaveOutput output(clock, &recorder);
    clock.sleep(250);
    output.close();
    EXPECT_GE(recorder.samplesWritten(), 2000u);  // 250 ms at 8000 samples a second
    EXPECT_LT(recorder.samplesWritten(), 2000u + 8000u);
}

}  // namespace
}  // namespace vornel
