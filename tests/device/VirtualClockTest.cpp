// Virtual time: the threads that take part go one at a time, time moves on only when all of
// them wait and then to the earliest moment one waits for, a ring counts before time moves,
// ties go in the order of the roles, a speed limit holds time back to real time, and a
// watchdog ends a run whose time stands still.
#include "device/VirtualClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/ClockWatchdog.h"

namespace vornel {
namespace {

using Role = Clock::Role;

// A thread taking the role's turns on the clock, running body between its attach and leave.
class Participant {
public:
    template <typename Body>
    Participant(VirtualClock& clock, Role role, Body body) : m_clock(clock) {
        clock.enroll(role);
        m_thread = std::thread([&clock, role, body] {
            clock.attach(role);
            body();
            clock.leave();
        });
    }
    // The caller takes part too: it waits for the thread's end through the clock.
    void join(Role role) {
        m_clock.awaitLeft(role);
        m_thread.join();
    }

private:
    VirtualClock& m_clock;
    std::thread m_thread;
};

// The test's own thread takes the window's turns.
class VirtualClockTest : public testing::Test {
protected:
    void SetUp() override {
        m_clock.enroll(Role::kWindow);
        m_clock.attach(Role::kWindow);
    }
    void TearDown() override { m_clock.leave(); }

    VirtualClock m_clock;
};

// While the window's thread works (here: for real milliseconds), the game's sleep does not
// end; once the window waits, time jumps straight to the game's moment, then to the window's.
TEST_F(VirtualClockTest, TimeMovesOnlyWhenEveryThreadWaitsAndThenToTheEarliestMoment) {
    std::vector<uint32_t> gameWoke;
    Participant game(m_clock, Role::kGame, [&] {
        for (int i = 0; i < 3; ++i) {
            m_clock.sleep(32);
            gameWoke.push_back(m_clock.ticks());
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // real time: device time stands
    EXPECT_EQ(m_clock.ticks(), 0u);
    EXPECT_TRUE(gameWoke.empty());
    m_clock.sleep(70);
    EXPECT_EQ(m_clock.ticks(), 70u);
    EXPECT_EQ(gameWoke, (std::vector<uint32_t>{32, 64}));
    game.join(Role::kGame);
    EXPECT_EQ(gameWoke, (std::vector<uint32_t>{32, 64, 96}));
    EXPECT_EQ(m_clock.ticks(), 96u);  // the wait for its end let time reach its last moment
}

// The paint handshake: the game asks for a paint and polls a flag every millisecond; the
// window, rung by the request, paints before time moves, so the first poll sees the flag clear.
TEST_F(VirtualClockTest, AThreadThatWasRungGoesOnBeforeTimeMoves) {
    std::atomic<bool> paintPending{false};
    std::atomic<int32_t> polls{0};
    Participant game(m_clock, Role::kGame, [&] {
        paintPending.store(true);
        m_clock.wake(Role::kWindow);
        while (paintPending.load() && polls.load() < 500) {
            m_clock.sleep(1);
            polls.fetch_add(1);
        }
    });
    EXPECT_TRUE(m_clock.waitForWake(Role::kWindow, Clock::kNever));
    EXPECT_EQ(m_clock.ticks(), 0u);
    paintPending.store(false);
    game.join(Role::kGame);
    EXPECT_EQ(polls.load(), 1);
    EXPECT_EQ(m_clock.ticks(), 1u);
}

// Four threads all due at one moment go script, window, audio, game, every time; yield lets
// the ones that can go on run first without time passing.
TEST_F(VirtualClockTest, TiesAtOneMomentGoInTheOrderOfTheRoles) {
    std::mutex lock;
    std::vector<std::string> order;
    const auto note = [&](const char* who) {
        std::lock_guard<std::mutex> guard(lock);
        order.push_back(who + std::string("@") + std::to_string(m_clock.ticks()));
    };
    Participant game(m_clock, Role::kGame, [&] { m_clock.sleep(10); note("game"); });
    Participant audio(m_clock, Role::kAudio, [&] { m_clock.waitForWake(Role::kAudio, 10000); note("audio"); });
    Participant script(m_clock, Role::kScript, [&] { m_clock.sleep(10); note("script"); });
    m_clock.yield();  // the three start and wait
    m_clock.sleep(10);
    note("window");
    m_clock.yield();
    note("window");
    script.join(Role::kScript);
    audio.join(Role::kAudio);
    game.join(Role::kGame);
    EXPECT_EQ(order, (std::vector<std::string>{"script@10", "window@10", "audio@10", "game@10", "window@10"}));
}

// A ring from a thread that takes no turns ends a wait that has no deadline; with a speed
// limit device time never runs ahead of real time; without one an hour passes at once.
TEST_F(VirtualClockTest, OutsideRingsAndTheSpeedLimit) {
    std::thread outside([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m_clock.wake(Role::kWindow);
    });
    EXPECT_TRUE(m_clock.waitForWake(Role::kWindow, Clock::kNever));
    outside.join();
    m_clock.sleep(3600 * 1000);
    EXPECT_EQ(m_clock.ticks(), 3600u * 1000);

    VirtualClock limited(100);
    limited.enroll(Role::kScript);
    const auto start = std::chrono::steady_clock::now();
    std::thread paced([&limited] {
        limited.attach(Role::kScript);
        limited.sleep(2000);
        limited.leave();
    });
    paced.join();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_EQ(limited.ticks(), 2000u);
}

TEST(VirtualClockWatchdogTest, ARunWhoseTimeStandsStillEndsWithStatusThreeAndSaysWhy) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            VirtualClock clock;
            clock.enroll(Role::kWindow);
            clock.attach(Role::kWindow);
            ClockWatchdog watchdog(clock, std::chrono::seconds(1));
            std::this_thread::sleep_for(std::chrono::seconds(30));  // a wait that is not the clock's
        },
        testing::ExitedWithCode(ClockWatchdog::kStuckStatus),
        "device time has stood still for 1 s, so the run ends: device time 0 ms; script: not taking part, "
        "window: running, audio: not taking part, game: not taking part");
}

}  // namespace
}  // namespace vornel
