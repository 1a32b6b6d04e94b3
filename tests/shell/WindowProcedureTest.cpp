// The window procedure: keys, characters, the pen, size and activation reach the game object.
#include "shell/WindowProcedure.h"

#include <gtest/gtest.h>

#include <vector>

#include "FakePlatform.h"

namespace vornel {
namespace {

using Codes = std::vector<int32_t>;

class WindowProcedureTest : public test::ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        state().m_game = game;
    }
    Codes queued() {
        Codes codes;
        for (int32_t code = game->nextKey(); code != 0; code = game->nextKey()) {
            codes.push_back(code);
        }
        return codes;
    }
    std::vector<int32_t> stylus() {
        const InputQueue& input = game->input();
        return {input.stylusX(), input.stylusY(), input.dragX(), input.dragY()};
    }
    bool anyKeyHeld() {
        for (int32_t code = 0; code <= InputQueue::kHighestHeldKey; ++code) {
            if (game->isKeyDown(code)) {
                return true;
            }
        }
        return false;
    }

    Ref<Screen> game = new Screen();
};

TEST_F(WindowProcedureTest, KeysArePressedAtKeyDownButSoftKeysAndEscapeAtKeyUp) {
    EXPECT_EQ(send(MessageType::KeyDown, 39), 1);
    EXPECT_EQ(send(MessageType::KeyDown, 39), 1);  // a repeat queues again
    EXPECT_EQ(send(MessageType::KeyUp, 39), 1);
    EXPECT_EQ(send(MessageType::KeyDown, 'Q'), 0);
    for (uint32_t key : {112u, 113u, 27u}) {
        EXPECT_EQ(send(MessageType::KeyUp, key), 1);
    }
    EXPECT_EQ(queued(), (Codes{2, 2, 5, 6, 7}));
    EXPECT_FALSE(anyKeyHeld());
    send(MessageType::KeyDown, 37);
    EXPECT_EQ(send(MessageType::KeyUp, 0x86), 0);
    EXPECT_TRUE(game->isKeyDown(1));
}

TEST_F(WindowProcedureTest, CharactersPassOnlyForKeysWithoutAGameKey) {
    EXPECT_EQ(send(MessageType::KeyDown, '9'), 0);
    send(MessageType::Char, '9');
    send(MessageType::Char, '5');  // its key down passed it already
    send(MessageType::Char, 0xE9);
    state().m_qwerty = true;
    EXPECT_EQ(send(MessageType::KeyDown, 'E'), 1);
    send(MessageType::Char, 'e');
    EXPECT_EQ(queued(), (Codes{57, -23, 50, 101}));
    EXPECT_FALSE(game->isKeyDown(57));
}

TEST_F(WindowProcedureTest, PenTapsAndDragsInGamePixels) {
    state().m_doubleSize = true;
    send(MessageType::PenDown, 0, packPoint(300, 400));
    EXPECT_TRUE(game->isKeyDown(5));
    send(MessageType::PenMove, 1, packPoint(310, 390));
    send(MessageType::PenMove, 1, packPoint(320, 396));
    EXPECT_EQ(stylus(), (std::vector<int32_t>{160, 198, 10, -2}));
    send(MessageType::PenMove, 0, packPoint(50, 50));  // only with the pen down and nothing else
    send(MessageType::PenMove, 1 | 4, packPoint(60, 60));
    send(MessageType::PenUp, 0, packPoint(40, 40));
    EXPECT_EQ(stylus(), (std::vector<int32_t>{20, 20, 10, -2}));
    EXPECT_FALSE(game->isKeyDown(5));
    send(MessageType::PenMove, 1, packPoint(322, 396));  // from where the last move left the pen
    EXPECT_EQ(stylus(), (std::vector<int32_t>{161, 198, 11, -2}));
    EXPECT_EQ(queued(), Codes{5});
}

TEST_F(WindowProcedureTest, DeactivationPausesTheGameAndActivationResumesIt) {
    state().m_pocketPc = true;
    EXPECT_EQ(send(MessageType::Activate, 0x00010000), 0);  // only the low half counts
    EXPECT_TRUE(game->input().isPaused() && !state().m_windowActive);
    EXPECT_EQ(send(MessageType::Activate, 1), 0);
    EXPECT_TRUE(!game->input().isPaused() && state().m_windowActive);
    state().m_pocketPc = false;  // a Smartphone leaves it to the default handling
    EXPECT_EQ(send(MessageType::Activate, 1), test::FakePlatform::kDefaultResult);
    EXPECT_EQ(send(MessageType::SettingChange), test::FakePlatform::kDefaultResult);
}

TEST_F(WindowProcedureTest, SizeTellsTheGameInGamePixels) {
    state().m_doubleSize = true;
    EXPECT_EQ(send(MessageType::Size, 0, packPoint(480, 640)), 0);
    EXPECT_EQ(state().m_screenHeight.load(), 640);
    EXPECT_EQ(state().m_deviceContextPaintsLeft, 3);
    EXPECT_EQ(game->m_width, 240);
    EXPECT_EQ(game->m_height, 320);
}

TEST_F(WindowProcedureTest, WindowMessagesAndInputBeforeTheGameExists) {
    EXPECT_EQ(send(MessageType::EraseBackground), 1);
    state().m_game = nullptr;
    EXPECT_EQ(send(MessageType::KeyDown, 39), 0);
    EXPECT_EQ(send(MessageType::PenDown, 0, packPoint(3, 4)), 0);
    EXPECT_EQ(send(MessageType::Create), 0);
    EXPECT_EQ(state().m_shellActivation.size, 12u);
    EXPECT_EQ(send(MessageType::Destroy), 0);
    EXPECT_EQ(platform.exitCode, 0);
    EXPECT_EQ(queued(), Codes{});
}

// Two shells in one process share nothing: a size, a key and the pen given to one leave the
// other and its game as they were.
TEST_F(WindowProcedureTest, EachShellKeepsItsOwnState) {
    Shell other(platform);
    Ref<Screen> otherGame = new Screen();
    other.state().m_game = otherGame;
    other.windowMessage(WindowMessage{MessageType::Size, 0, packPoint(100, 80)});
    other.windowMessage(WindowMessage{MessageType::KeyDown, 39, 0});
    other.windowMessage(WindowMessage{MessageType::PenDown, 0, packPoint(7, 9)});
    EXPECT_EQ(state().m_screenWidth.load(), 0);
    EXPECT_EQ(state().m_lastPenX, 0);
    EXPECT_EQ(queued(), Codes{});
    EXPECT_EQ(other.state().m_screenWidth.load(), 100);
    EXPECT_EQ(otherGame->nextKey(), GameKey::kRight);
}

}  // namespace
}  // namespace vornel
