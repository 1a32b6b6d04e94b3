// The input queue on tape: a recording keeps what the game read from the window, and playing
// it back gives the game the same values with the window silent.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "core/DemoTape.h"
#include "sprites/InputQueue.h"

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
        tape.endFrame();
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
    tape.endFrame();
    EXPECT_TRUE(tape.inStep()) << tape.stepLost();
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace vornel
