// Device time against real time.
#include "platform/DeviceClock.h"

#include <gtest/gtest.h>

#include <thread>

namespace vornel {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(DeviceClockTest, TicksRunSpeedTimesFasterThanRealTime) {
    DeviceClock clock(100);
    const uint32_t before = clock.ticks();
    std::this_thread::sleep_for(milliseconds(20));
    const uint32_t elapsed = clock.ticks() - before;
    EXPECT_GE(elapsed, 2000u);
    EXPECT_LT(elapsed, 6000u);  // a busy machine may oversleep, but not by 40 ms
}

TEST(DeviceClockTest, SleepLastsTheDeviceTimeDividedBySpeed) {
    DeviceClock clock(100);
    const auto start = steady_clock::now();
    clock.sleep(1000);
    const auto real = steady_clock::now() - start;
    EXPECT_GE(real, milliseconds(10));
    EXPECT_LT(real, milliseconds(200));
}

TEST(DeviceClockTest, AtSpeedOneDeviceTimeIsRealTime) {
    DeviceClock clock(1);
    const uint32_t before = clock.ticks();
    clock.sleep(30);
    const uint32_t elapsed = clock.ticks() - before;
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 130u);
}

TEST(DeviceClockTest, TheRealMomentOfADeviceTimeIsNeverEarly) {
    DeviceClock clock(7);  // a speed that does not divide a microsecond evenly
    const uint64_t start = clock.microseconds();
    for (uint64_t target = start + 333; target < start + 20000; target += 4999) {
        std::this_thread::sleep_until(clock.realTimeOf(target));
        EXPECT_GE(clock.microseconds(), target);
    }
}

TEST(DeviceClockTest, ASpeedBelowOneCountsAsOne) {
    EXPECT_EQ(DeviceClock(0).speed(), 1);
}

}  // namespace
}  // namespace vornel
