// Device time in real time, as a window keeps it: never ahead of speed times real time. Only
// lower bounds are asserted; how late a busy machine wakes a thread is not the clock's to say.
#include "device/DeviceClock.h"

#include <gtest/gtest.h>

#include <thread>

namespace vornel {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(DeviceClockTest, DeviceTimeRunsSpeedTimesFasterThanRealTimeAndSleepsNeverEndEarly) {
    DeviceClock clock(100);
    const uint32_t before = clock.ticks();
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_GE(clock.ticks() - before, 2000u);
    const auto start = steady_clock::now();
    const uint32_t asleep = clock.ticks();
    clock.sleep(1000);
    EXPECT_GE(steady_clock::now() - start, milliseconds(10));
    EXPECT_GE(clock.ticks() - asleep, 1000u);
    EXPECT_EQ(DeviceClock(0).speed(), 1);  // a speed below one counts as one
}

TEST(DeviceClockTest, TheRealMomentOfADeviceTimeIsNeverEarly) {
    DeviceClock clock(7);  // a speed that does not divide a microsecond evenly
    const uint64_t start = clock.microseconds();
    for (uint64_t target = start + 333; target < start + 20000; target += 4999) {
        std::this_thread::sleep_until(clock.realTimeOf(target));
        EXPECT_GE(clock.microseconds(), target);
    }
}

// A doorbell rung before the wait ends it at once; one rung during it ends it early; without a
// ring the wait lasts until its deadline.
TEST(DeviceClockTest, ADoorbellEndsAWaitThatADeadlineWouldOtherwiseEnd) {
    DeviceClock clock(10);
    clock.wake(Clock::Role::kAudio);
    EXPECT_TRUE(clock.waitForWake(Clock::Role::kAudio, Clock::kNever));
    std::thread ringer([&clock] { clock.wake(Clock::Role::kScript); });
    EXPECT_TRUE(clock.waitForWake(Clock::Role::kScript, Clock::kNever));
    ringer.join();
    const uint64_t deadline = clock.microseconds() + 50000;
    EXPECT_FALSE(clock.waitForWake(Clock::Role::kScript, deadline));
    EXPECT_GE(clock.microseconds(), deadline);
}

}  // namespace
}  // namespace vornel
