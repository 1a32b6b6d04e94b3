// The tape of outside values: what a recording game read comes back to the played-back game
// in the same order, and a game that reads otherwise is caught at the first difference.
#include "demo/DemoTape.h"

#include "demo/TapedClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace vornel {
namespace {

constexpr uint8_t kTicks = 1;
constexpr uint8_t kKey = 2;

class DemoTapeTest : public ::testing::Test {
protected:
    // Two frames: ticks 1000 and key 5, then ticks 1032.
    void SetUp() override {
        DemoWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, DemoHeader{}, error)) << error;
        DemoTape tape(writer);
        EXPECT_EQ(tape.pass(kTicks, 1000), 1000);
        EXPECT_EQ(tape.pass(kKey, 5), 5);
        tape.endFrame(0);
        tape.pass(kTicks, 1032);
        tape.endFrame(0);
        ASSERT_TRUE(writer.finish(0, error)) << error;
        ASSERT_TRUE(reader.open(path, error)) << error;
    }
    void TearDown() override { std::filesystem::remove(path); }

    std::string path = (std::filesystem::temp_directory_path() / ("vornel-tape-" + std::to_string(::getpid()))).string();
    DemoReader reader;
};

TEST_F(DemoTapeTest, PlayingBackHandsOutTheRecordedValuesFrameByFrame) {
    DemoTape tape(reader);
    EXPECT_EQ(tape.pass(kTicks, 7), 1000);
    EXPECT_EQ(tape.pass(kKey, 0), 5);
    EXPECT_TRUE(tape.endFrame(0));
    EXPECT_EQ(tape.pass(kTicks, 7), 1032);
    EXPECT_FALSE(tape.endFrame(0));  // no frame left
    EXPECT_TRUE(tape.inStep()) << tape.stepLost();
    EXPECT_EQ(tape.frames(), 2u);
}

TEST_F(DemoTapeTest, AGameThatReadsOtherwiseLosesStepAndGetsLiveValues) {
    DemoTape otherKind(reader);
    EXPECT_EQ(otherKind.pass(kKey, 9), 9);
    EXPECT_FALSE(otherKind.inStep());
    EXPECT_EQ(otherKind.stepLost(), "the game left the recording in frame 1: a read of kind 2 where kind 1 was recorded");
    EXPECT_EQ(otherKind.pass(kTicks, 8), 8);  // live from then on

    DemoTape fewerReads(reader);
    fewerReads.pass(kTicks, 0);
    fewerReads.endFrame(0);
    EXPECT_EQ(fewerReads.stepLost(), "the game left the recording in frame 1: 1 recorded values left unread");
}

// A clock that stands still and counts its reads and keeps its sleeps and yields.
class StillClock final : public Clock {
public:
    uint32_t ticks() override {
        ++reads;
        return 77;
    }
    int32_t reads = 0;
    void sleep(uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
    void yield() override { ++yields; }
    std::vector<uint32_t> sleeps;
    int32_t yields = 0;
};

// Flat out, the recorded time needs no read of the live one, and a sleep still lets a thread
// that is ready go first: else the window's thread, once behind the game's, would never come
// to wait for its messages, and no paint could be made in turn.
TEST_F(DemoTapeTest, OnlyTheGameThreadsClockReadsArePlayedBackAndAFlatOutPlaybackOnlyYields) {
    DemoTape tape(reader);
    StillClock beneath;
    TapedClock clock(beneath, tape, false);
    EXPECT_EQ(clock.ticks(), 77u);  // no thread taped yet
    clock.tapeThisThread();
    EXPECT_EQ(clock.ticks(), 1000u);
    EXPECT_EQ(beneath.reads, 1);  // the recorded time needs no read of the live one
    uint32_t otherThreads = 0;
    std::thread([&] { otherThreads = clock.ticks(); }).join();
    EXPECT_EQ(otherThreads, 77u);
    clock.sleep(30);
    EXPECT_TRUE(beneath.sleeps.empty());
    EXPECT_EQ(beneath.yields, 1);
}

// The recorded frame of 32 ms lasts 32 ms of the clock beneath, however long the game slept.
TEST_F(DemoTapeTest, APacedPlaybackHoldsEachTickReadUntilItsRecordedMoment) {
    DemoTape tape(reader);
    StillClock beneath;
    TapedClock paced(beneath, tape, true);
    paced.tapeThisThread();
    EXPECT_EQ(paced.ticks(), 1000u);
    paced.sleep(5);
    tape.pass(2, 0);
    tape.endFrame(0);
    EXPECT_EQ(paced.ticks(), 1032u);
    EXPECT_EQ(beneath.sleeps, std::vector<uint32_t>{32});
}

}  // namespace
}  // namespace vornel
