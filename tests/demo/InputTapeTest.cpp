// The input queue on tape: a recording keeps what the game read from the window, and playing
// it back gives the game the same values with the window silent.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "demo/DemoTape.h"
#include "sprites/InputQueue.h"
#include "sprites/Screen.h"

namespace vornel {
namespace {

TEST(InputTapeTest, PlayingBackGivesTheGameWhatTheWindowGaveTheRecording) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vornel-input-tape-" + std::to_string(::getpid()))).string();
    const auto readAll = [](InputQueue& input) {
        return std::vector<int32_t>{input.nextKey(),      input.nextKey(), input.isKeyDown(GameKey::kLeft),
                                    input.keyMatches(0, GameKey::kRight), input.stylusX(), input.stylusY(),
                                    input.dragX(),         input.takeDragY(), input.dragY(),  input.isPaused()};
    };
    std::vector<int32_t> recorded;
    {
        DemoWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, DemoHeader{}, error)) << error;
        DemoTape tape(writer);
        InputQueue window;
        window.setTape(&tape);
        window.keyDown(GameKey::kLeft);
        window.setStylus(17, 40);
        window.addDrag(-3, 9);
        window.setPaused(true);
        recorded = readAll(window);
        tape.endFrame(0);
        ASSERT_TRUE(writer.finish(0, error)) << error;
    }
    EXPECT_EQ(recorded, (std::vector<int32_t>{GameKey::kLeft, 0, 1, 0, 17, 40, -3, 9, 0, 1}));

    DemoReader reader;
    std::string error;
    ASSERT_TRUE(reader.open(path, error)) << error;
    DemoTape tape(reader);
    InputQueue silent;
    silent.setTape(&tape);
    EXPECT_EQ(readAll(silent), recorded);
    tape.endFrame(0);
    EXPECT_TRUE(tape.inStep()) << tape.stepLost();
    std::filesystem::remove(path);
}

// A screen on tape: its frames' pixels go into the checksum, so a playback that draws the same
// frames ends with the recording's checksum and one that draws otherwise does not.
TEST(InputTapeTest, TheChecksumFollowsThePixelsOfEveryPacedFrame) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vornel-screen-tape-" + std::to_string(::getpid()))).string();
    const auto play = [](DemoTape& tape, uint32_t colour) {
        Ref<Screen> screen = new Screen();
        screen->setSize(4, 3);
        screen->setTape(&tape);
        screen->setColor(colour);
        screen->render();
        const int32_t key = screen->nextKey();
        screen->pace(0);
        screen->clear();
        return key;
    };
    uint32_t recorded = 0;
    {
        DemoWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, DemoHeader{}, error)) << error;
        DemoTape tape(writer);
        EXPECT_EQ(play(tape, 0xFF102030), 0);
        recorded = tape.checksum();
        ASSERT_TRUE(writer.finish(recorded, error)) << error;
    }
    DemoReader reader;
    std::string error;
    ASSERT_TRUE(reader.open(path, error)) << error;
    DemoTape same(reader);
    play(same, 0xFF102030);
    EXPECT_EQ(same.checksum(), reader.storedChecksum());
    DemoTape other(reader);
    play(other, 0xFF102031);
    EXPECT_NE(other.checksum(), recorded);
    EXPECT_TRUE(other.inStep());  // it read the same values; only its pixels differ
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace vornel
