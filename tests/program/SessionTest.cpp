// The whole game over several runs of the program: choices kept in the settings file, a game
// resumed after a restart, leaving from the menu, and the pen choosing and steering.
#include "EndToEnd.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

// Device time from the start until the main menu has faded in over the table.
constexpr const char* kMenuShown = "wait 3500\n";

TEST_F(EndToEnd, SoundAndLevelChosenInTheMenuAreKeptForTheNextRun) {
    ASSERT_EQ(run("pocketpc", std::string(kMenuShown) + "char S\nchar L\nwait 500\nquit\n"), 0);
    std::vector<uint8_t> saved = readSettings();
    ASSERT_EQ(saved.size(), 24u);
    EXPECT_EQ(saved[0], 1);  // sound off
    EXPECT_EQ(saved[1], 1);  // Hard

    // The next run starts with both; a lower-case 's' only rewrites them.
    ASSERT_EQ(run("smartphone", std::string(kMenuShown) + "char s\nwait 500\nquit\n"), 0);
    saved = readSettings();
    EXPECT_EQ(saved[0], 1);
    EXPECT_EQ(saved[1], 1);
    ASSERT_EQ(run("pocketpc-vga", std::string(kMenuShown) + "char S\nwait 500\nquit\n"), 0);
    EXPECT_EQ(readSettings()[0], 0);  // sound back on, level still Hard
    EXPECT_EQ(readSettings()[1], 1);
}

// The settings file's name is taken by a folder: every change fails to save, the player hears
// of it once, and the game plays on to the end of the script.
TEST_F(EndToEnd, ASettingsFileThatCannotBeWrittenIsSaidOnceAndPlayGoesOn) {
    fs::create_directories(file("save/vornel/inside"));
    const std::string script = std::string(kMenuShown) + "char S\nwait 300\nchar L\nwait 300\nchar N\nwait 3000\n" +
                               "screenshot " + file("play.png") + "\nquit\n";
    ASSERT_EQ(run("pocketpc", script), 0);
    EXPECT_EQ(errors(), "vornel: cannot save " + file("save/vornel") +
                            ": Is a directory; the game goes on and saves again at the next change\n");
    EXPECT_FALSE(isBlank(picture("play.png")));
    EXPECT_TRUE(fs::is_directory(file("save/vornel/inside")));
}

// At 7:4 the opponent serves; with nobody at the bat it wins the point in eight seconds, and
// the file is saved: 7:5, on top of the player's 7, which a new game would have cleared.
TEST_F(EndToEnd, ResumeAfterARestartContinuesTheSavedGame) {
    std::vector<uint8_t> settings(24, 0);
    settings[2] = 4;  // opponent
    settings[3] = 7;  // player
    writeSettings(settings);
    ASSERT_EQ(run("pocketpc", std::string(kMenuShown) + "press enter\nwait 8000\nquit\n"), 0);
    std::vector<uint8_t> expected = settings;
    expected[2] = 5;
    EXPECT_EQ(readSettings(), expected);
}

// Without "Exit" the script would wait ten minutes, 18,750 frames; the run ends in the frame
// after the menu's.
TEST_F(EndToEnd, ExitInTheMenuEndsTheProgramAtOnceWithStatusZero) {
    EXPECT_EQ(run("pocketpc", std::string(kMenuShown) + "char E\nwait 600000\n", {"--stats"}), 0);
    EXPECT_NE(output().find("stats: frames=98 "), std::string::npos) << output();
    EXPECT_FALSE(fs::exists(file("save/vornel")));  // nothing changed, so nothing was written
}

// On both pen handhelds: a tap on "New Game" closes the menu, then the bat follows the pen to
// the left and to the right. Script coordinates are the device's own pixels.
TEST_F(EndToEnd, ThePenChoosesFromTheMenuAndSteersTheBat) {
    for (const int32_t scale : {1, 2}) {
        const std::string device = scale == 1 ? "pocketpc" : "pocketpc-vga";
        SCOPED_TRACE(device);
        const auto at = [scale](int32_t x, int32_t y) {
            return std::to_string(x * scale) + " " + std::to_string(y * scale);
        };
        const std::string script = std::string(kMenuShown) + "screenshot " + file("menu.png") + "\ntap " +
                                   at(120, 104) + "\nwait 1500\nscreenshot " + file("play.png") + "\ndrag " +
                                   at(120, 250) + " " + at(40, 250) + "\nwait 1500\nscreenshot " + file("left.png") +
                                   "\ndrag " + at(40, 250) + " " + at(200, 250) + "\nwait 1500\nscreenshot " +
                                   file("right.png") + "\nquit\n";
        ASSERT_EQ(run(device, script), 0);
        const RgbaImage menu = picture("menu.png");
        const RgbaImage play = picture("play.png");
        const RgbaImage left = picture("left.png");
        const RgbaImage right = picture("right.png");
        EXPECT_TRUE(differIn(menu, play, 30, 30, 70, 70));  // the buttons are gone
        EXPECT_TRUE(differIn(play, left, 0, 55, 30, 85));   // the bat came to the left
        EXPECT_TRUE(differIn(left, right, 0, 55, 30, 85));  // and went away again
        EXPECT_TRUE(differIn(left, right, 70, 55, 100, 85));
    }
}

}  // namespace
}  // namespace vornel
