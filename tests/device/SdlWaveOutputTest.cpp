// The SDL wave output in the SDL window, on SDL's dummy audio and video drivers in real time
// (SDL's audio threads keep it; the tests wait for states the device reports): the device
// is paused while nothing is queued and while the window is in the background, a removed
// device is replaced with the queue kept, and without any device the output goes silent.
// Focus changes and removals are SDL events pushed into the window's event loop.
#include "backends/sdl/SdlDevice.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "SdlTestWindow.h"

namespace vornel {
namespace {

using testing_support::kTinyProfile;
using testing_support::SdlTestWindow;

// A header with its own samples.
struct Buffer {
    explicit Buffer(std::size_t samples) : samples(samples, 1000) {
        header.data = reinterpret_cast<uint8_t*>(this->samples.data());
        header.bufferLength = static_cast<uint32_t>(this->samples.size() * 2);
    }
    std::vector<int16_t> samples;
    WaveHeader header;
};

// Each handed-back header, with whether it was marked done and the kernel's id of the thread
// that handed it back (an audio thread opened later has another one).
class Completions {
public:
    struct Completion {
        WaveHeader* header;
        bool done;
        long thread;
    };

    static void callback(void* context, uint32_t message, WaveHeader* header) {
        auto* self = static_cast<Completions*>(context);
        if (message != WaveOutput::kDoneMessage) {
            return;
        }
        const std::lock_guard lock(self->m_lock);
        self->m_seen.push_back({header, (header->flags.load() & WaveHeader::kDone) != 0, syscall(SYS_gettid)});
        self->m_changed.notify_all();
    }

    std::vector<Completion> waitFor(std::size_t count) {
        std::unique_lock lock(m_lock);
        m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_seen.size() >= count; });
        return m_seen;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Completion> m_seen;
};

bool becomes(SDL_AudioDeviceID device, SDL_AudioStatus status) {
    for (int i = 0; i < 500 && SDL_GetAudioDeviceStatus(device) != status; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return SDL_GetAudioDeviceStatus(device) == status;
}

class SdlWaveOutputTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(m_window.open(kTinyProfile, 1, true));
        ASSERT_TRUE(output().open(WaveFormat{}, Completions::callback, &m_completions));
    }

    void TearDown() override { m_window.close(); }

    SdlWaveOutput& output() { return static_cast<SdlWaveOutput&>(m_window.device().waveOutput()); }

    bool queue(Buffer& buffer) {
        output().prepareHeader(buffer.header);
        return output().write(buffer.header);
    }

    void pushFocus(bool gained) {
        SdlTestWindow::push(SDL_WINDOWEVENT, [gained](SDL_Event& e) {
            e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
        });
        m_window.settle();
    }

    void pushRemoval(SDL_AudioDeviceID device) {
        SdlTestWindow::push(SDL_AUDIODEVICEREMOVED, [device](SDL_Event& e) { e.adevice.which = device; });
        m_window.settle();
    }

    SdlTestWindow m_window;
    Completions m_completions;
};

TEST_F(SdlWaveOutputTest, ItIsPausedWhileNothingIsQueuedAndAWriteResumesIt) {
    const SDL_AudioDeviceID device = output().sdlDevice();
    EXPECT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_PAUSED);
    Buffer buffer(400);
    ASSERT_TRUE(queue(buffer));
    EXPECT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_PLAYING);
    ASSERT_EQ(m_completions.waitFor(1).size(), 1u);
    EXPECT_TRUE(becomes(device, SDL_AUDIO_PAUSED)) << "the drained device kept playing";
    EXPECT_EQ(output().position(), 400u);

    Buffer next(200);  // the position goes on counting after the pause
    ASSERT_TRUE(queue(next));
    ASSERT_EQ(m_completions.waitFor(2).size(), 2u);
    EXPECT_EQ(output().position(), 600u);
}

TEST_F(SdlWaveOutputTest, InTheBackgroundAWriteWaitsForTheFocusToComeBack) {
    const SDL_AudioDeviceID device = output().sdlDevice();
    pushFocus(false);
    Buffer buffer(400);
    ASSERT_TRUE(queue(buffer));
    EXPECT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_PAUSED);
    pushFocus(true);
    EXPECT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_PLAYING);
    ASSERT_EQ(m_completions.waitFor(1).size(), 1u);
    EXPECT_EQ(output().position(), 400u);
}

// The dummy driver never loses its device; the removal is reported as SDL would.
TEST_F(SdlWaveOutputTest, ARemovedDeviceIsReplacedAndWhatWasQueuedPlaysThere) {
    Buffer before(80), queued(400);
    ASSERT_TRUE(queue(before));
    ASSERT_EQ(m_completions.waitFor(1).size(), 1u);
    pushFocus(false);  // keeps the second buffer queued through the removal
    ASSERT_TRUE(queue(queued));
    testing::internal::CaptureStderr();
    pushRemoval(output().sdlDevice());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(output().sdlDevice(), 0u);
    pushFocus(true);
    const auto seen = m_completions.waitFor(2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].header, &queued.header);
    EXPECT_NE(seen[1].thread, seen[0].thread) << "still the first device's audio thread";
    EXPECT_EQ(output().position(), 480u) << "the queued buffer was handed back unplayed";
}

// Without its audio subsystem SDL can open no device at all, as on a machine whose only
// sound card was pulled out.
TEST_F(SdlWaveOutputTest, WhenNoDeviceOpensTheQueueComesBackDoneAndWritesFail) {
    pushFocus(false);
    Buffer queued(400), later(400);
    ASSERT_TRUE(queue(queued));
    const SDL_AudioDeviceID device = output().sdlDevice();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    testing::internal::CaptureStderr();
    pushRemoval(device);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("without sound"), std::string::npos) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1);
    const auto seen = m_completions.waitFor(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].done);
    EXPECT_FALSE(queue(later));
    EXPECT_EQ(output().position(), 0u);
}

}  // namespace
}  // namespace vornel
