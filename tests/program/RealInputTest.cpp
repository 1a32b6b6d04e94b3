// The vornel program in an SDL window on SDL's windowless driver, played by scripts whose
// input goes into SDL's own event queue: keys with their real scancodes, typed text, the
// mouse as the pen and a virtual game controller take the whole way a person's input takes,
// through the event loop, the key and button translation and the window procedure.
#include "EndToEnd.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>

namespace vornel {
namespace {

// Rows of the screen (in hundredths of its height) where the player's bat moves sideways,
// below the menu's buttons.
constexpr int32_t kBatTop = 60;
constexpr int32_t kBatBottom = 82;
// Where the menu's upper buttons are, above the bat, in hundredths of the screen's sides.
constexpr int32_t kMenuLeft = 30;
constexpr int32_t kMenuTop = 25;
constexpr int32_t kMenuRight = 70;
constexpr int32_t kMenuBottom = 60;

class RealInputTest : public EndToEnd {
protected:
    // A game left at 7:5 with the player to serve: the menu offers "Resume", highlighted, and
    // nothing on the table moves until the player does.
    void SetUp() override {
        EndToEnd::SetUp();
        std::vector<uint8_t> settings(24, 0);
        settings[2] = 5;  // opponent
        settings[3] = 7;  // player
        writeSettings(settings);
    }
    std::string shot(const std::string& name) const { return "screenshot " + file(name + ".png") + "\n"; }
    int runInWindow(const std::string& script, const std::vector<std::string>& extra = {}) {
        return exitStatus(startInWindow("pocketpc", script, extra));
    }
    // The settings file after the run: sound and level as chosen, and the game never restarted.
    void expectSaved(uint8_t mute, uint8_t level) {
        const std::vector<uint8_t> saved = readSettings();
        ASSERT_EQ(saved.size(), 24u);
        EXPECT_EQ(saved[0], mute);
        EXPECT_EQ(saved[1], level);
        EXPECT_EQ(saved[2], 5);
        EXPECT_EQ(saved[3], 7);
    }
    // Nothing else moves there while the player has the serve.
    static bool batMoved(const RgbaImage& a, const RgbaImage& b, int32_t left = 0, int32_t right = 100) {
        return differIn(a, b, left, kBatTop, right, kBatBottom);
    }
};

// The pen, at zoom 2, taps "Resume" and drags the bat. The soft keys act once a press: F2 in
// play opens the menu with "Resume" highlighted (a second F2 would highlight "Exit", from
// which "down" leads to "New Game"), F1 on "Sound" flips sound once, F1 on "Help" opens help
// and it stays open. Typed capital letters choose their items.
TEST_F(RealInputTest, ThePenSoftKeysAndLettersActOnceThroughTheWindow) {
    const std::string script = "wait 3500\n"
                               "tap 120 114\nwait 1500\n" + shot("play") +
                               "drag 120 250 220 250\nwait 1500\n" + shot("right") +
                               "drag 220 250 160 250\nwait 1500\n" + shot("left") +
                               "press f2\nwait 1000\npress down\npress f1\nwait 300\n"  // "Sound: Off"
                               "char L\nwait 300\n"                                     // "Level: Hard"
                               "press down\nwait 600\n" + shot("onHelp") +
                               "press f1\nwait 1500\n" + shot("help") +
                               "press escape\nwait 1500\nchar R\nwait 1500\n" + shot("resumed") + "quit\n";
    ASSERT_EQ(runInWindow(script, {"--zoom", "2"}), 0) << errors();
    expectSaved(1, 1);
    const RgbaImage left = picture("left.png");
    EXPECT_TRUE(batMoved(picture("play.png"), picture("right.png")));
    EXPECT_TRUE(batMoved(picture("right.png"), left));
    EXPECT_TRUE(differIn(picture("onHelp.png"), picture("help.png"), 30, 30, 70, 70));  // help stays open
    EXPECT_FALSE(differIn(left, picture("resumed.png"), kMenuLeft, kMenuTop, kMenuRight, kMenuBottom));
}

// Arrows steer the bat and, in the menu, move the highlight while the bat stands; back opens
// the menu and back twice in it returns to the game; the controller's Start opens the menu,
// the d-pad moves in it, A chooses and B backs out.
TEST_F(RealInputTest, ArrowsBackAndTheControllerSteerTheGameThroughTheWindow) {
    const std::string script = "wait 3500\npress enter\nwait 1500\n" + shot("play") +
                               "key down right\nwait 300\nkey up right\nwait 300\n" + shot("right") +
                               "press escape\nwait 1500\n" + shot("menu") +
                               "press right\npress enter\nwait 500\n" + shot("menuSound") +  // "Sound: Off"
                               "press escape\nwait 500\npress escape\nwait 1500\n" + shot("back") +
                               "key down left\nwait 200\nkey up left\nwait 300\n" + shot("backLeft") +
                               "button press start\nwait 1500\n" + shot("padMenu") +
                               "button press dpad-down\nbutton press dpad-down\nbutton press a\nwait 500\n"
                               "button press b\nwait 500\nbutton press b\nwait 1500\n"
                               "button down dpad-right\nwait 200\nbutton up dpad-right\nwait 300\n" +
                               shot("padRight") + "quit\n";
    ASSERT_EQ(runInWindow(script), 0) << errors();
    expectSaved(1, 1);  // Sound by the keys, Level by the controller
    const RgbaImage right = picture("right.png");
    EXPECT_TRUE(batMoved(picture("play.png"), right));
    const RgbaImage menu = picture("menu.png");
    EXPECT_TRUE(differIn(right, menu, kMenuLeft, kMenuTop, kMenuRight, kMenuBottom));
    EXPECT_FALSE(batMoved(menu, picture("menuSound.png"), 75, 100));  // the arrow went to the menu
    const RgbaImage back = picture("back.png");
    EXPECT_FALSE(differIn(right, back, kMenuLeft, kMenuTop, kMenuRight, kMenuBottom));  // the menu is gone
    const RgbaImage backLeft = picture("backLeft.png");
    EXPECT_TRUE(batMoved(back, backLeft));  // and the game takes the arrows again
    EXPECT_TRUE(differIn(backLeft, picture("padMenu.png"), kMenuLeft, kMenuTop, kMenuRight, kMenuBottom));
    EXPECT_TRUE(batMoved(backLeft, picture("padRight.png")));
}

// Each key event SDL delivers is measured from the event loop to the display showing the frame
// that read it: the two of Enter (which resumes the game) and the two of the right arrow, all
// closed before the run ends, each no longer than the whole run.
TEST_F(RealInputTest, EveryKeyEventIsTimedFromTheEventLoopToTheFrameThatShowsIt) {
    const std::string script = "wait 3500\npress enter\nwait 1500\n"
                               "key down right\nwait 300\nkey up right\nwait 1000\nquit\n";
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(runInWindow(script, {"--stats"}), 0) << errors();
    const std::chrono::duration<double, std::milli> run = std::chrono::steady_clock::now() - started;
    static const std::regex figures(
        R"(latency_ms_p50=([0-9.]+) latency_ms_p99=([0-9.]+) latency_ms_max=([0-9.]+) latency_events=(\d+)\n)");
    std::smatch parts;
    const std::string text = output();
    ASSERT_TRUE(std::regex_search(text, parts, figures)) << text;
    EXPECT_EQ(parts[4], "4");
    const double p50 = std::stod(parts[1]);
    const double p99 = std::stod(parts[2]);
    const double longest = std::stod(parts[3]);
    EXPECT_GE(p50, 0.0);
    EXPECT_LE(p50, p99);
    EXPECT_LE(p99, longest);
    EXPECT_LT(longest, run.count());
}

}  // namespace
}  // namespace vornel
