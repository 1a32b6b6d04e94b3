// Input scripts: every command, key names and codes, and where errors are reported.
#include "harness/InputScript.h"

#include <gtest/gtest.h>

#include "device/ControllerButton.h"

namespace vornel {
namespace {

using Kind = ScriptCommand::Kind;

InputScript parsed(const std::string& text) {
    InputScript script;
    std::string error;
    EXPECT_TRUE(InputScript::parse(text, "t.txt", script, error)) << error;
    return script;
}

std::string errorOf(const std::string& text) {
    InputScript script;
    std::string error;
    EXPECT_FALSE(InputScript::parse(text, "t.txt", script, error)) << text;
    return error;
}

TEST(InputScriptTest, EveryCommandIsReadWithItsLine) {
    const InputScript script = parsed(
        "# a run\n"
        "\n"
        "wait 250\n"
        "key down left\n"
        "key up 37\n"
        "press enter   # confirm\n"
        "char 9\n"
        "tap 10 20\n"
        "drag 1 2 3 4\n"
        "rotate\n"
        "activate off\n"
        "screenshot shots/menu.png\n"
        "quit\n");
    const auto& c = script.commands();
    ASSERT_EQ(c.size(), 11u);
    EXPECT_EQ(c[0].kind, Kind::Wait);
    EXPECT_EQ(c[0].values[0], 250);
    EXPECT_EQ(c[0].line, 3);
    EXPECT_EQ(c[1].kind, Kind::KeyDown);
    EXPECT_EQ(c[1].values[0], 37);
    EXPECT_EQ(c[2].kind, Kind::KeyUp);
    EXPECT_EQ(c[2].values[0], 37);
    EXPECT_EQ(c[3].kind, Kind::Press);
    EXPECT_EQ(c[3].values[0], 13);
    EXPECT_EQ(c[4].kind, Kind::Char);
    EXPECT_EQ(c[4].values[0], '9');
    EXPECT_EQ(c[5].kind, Kind::Tap);
    EXPECT_EQ((std::array<int32_t, 2>{c[5].values[0], c[5].values[1]}), (std::array<int32_t, 2>{10, 20}));
    EXPECT_EQ(c[6].kind, Kind::Drag);
    EXPECT_EQ(c[6].values, (std::array<int32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(c[7].kind, Kind::Rotate);
    EXPECT_EQ(c[8].kind, Kind::Activate);
    EXPECT_EQ(c[8].values[0], 0);
    EXPECT_EQ(c[9].kind, Kind::Screenshot);
    EXPECT_EQ(c[9].file, "shots/menu.png");
    EXPECT_EQ(c[10].kind, Kind::Quit);
    EXPECT_EQ(c[10].line, 13);
}

TEST(InputScriptTest, KeyNamesGiveTheHandheldsCodes) {
    const std::vector<std::pair<std::string, int32_t>> keys = {
        {"left", 37}, {"up", 38},        {"right", 39}, {"down", 40}, {"enter", 13}, {"escape", 27},
        {"backspace", 8}, {"space", 32}, {"f1", 112},   {"f2", 113},  {"f8", 119},   {"f9", 120},
        {"slash", 191}, {"a", 65},       {"Z", 90},     {"0", 48},    {"9", 57},     {"200", 200},
        {"08", 8}};  // one digit is the digit's key; a code below 10 is written with a leading zero
    for (const auto& [name, code] : keys) {
        const InputScript script = parsed("press " + name);
        ASSERT_EQ(script.commands().size(), 1u);
        EXPECT_EQ(script.commands()[0].values[0], code) << name;
    }
}

TEST(InputScriptTest, CharTakesOneCharacterOrACode) {
    EXPECT_EQ(parsed("char #").commands()[0].values[0], '#');
    EXPECT_EQ(parsed("char *").commands()[0].values[0], '*');
    EXPECT_EQ(parsed("char 233").commands()[0].values[0], 233);
    EXPECT_EQ(errorOf("char ab"), "script t.txt:1: 'ab' is neither one character nor a character code within 1..255");
    EXPECT_EQ(errorOf("char 256"), "script t.txt:1: '256' is neither one character nor a character code within 1..255");
}

TEST(InputScriptTest, ButtonCommandsNameAControllerButton) {
    const InputScript script = parsed("button press start\nbutton down dpad-left");
    ASSERT_EQ(script.commands().size(), 2u);
    EXPECT_EQ(script.commands()[0].kind, Kind::ButtonPress);
    EXPECT_EQ(script.commands()[0].values[0], ControllerButton::kStart);
    EXPECT_EQ(script.commands()[1].kind, Kind::ButtonDown);
    EXPECT_EQ(script.commands()[1].values[0], ControllerButton::kDpadLeft);
    EXPECT_EQ(errorOf("button press x"),
              "script t.txt:1: unknown button 'x' (a b start dpad-up dpad-down dpad-left dpad-right)");
}

TEST(InputScriptTest, ActivateOnIsOne) {
    EXPECT_EQ(parsed("activate on").commands()[0].values[0], 1);
}

TEST(InputScriptTest, ABlankOrCommentOnlyScriptHasNoCommands) {
    EXPECT_TRUE(parsed("\n  # nothing\n\t\n").empty());
}

TEST(InputScriptTest, WindowsLineEndsAreAccepted) {
    EXPECT_EQ(parsed("wait 5\r\nquit\r\n").commands().size(), 2u);
}

TEST(InputScriptTest, ErrorsNameTheFileAndLine) {
    EXPECT_EQ(errorOf("wait 1\n\njump 3\n"), "script t.txt:3: unknown command 'jump'");
    EXPECT_EQ(errorOf("key down\n"), "script t.txt:1: expected 'key down|up NAME|CODE'");
    EXPECT_EQ(errorOf("key hold left"), "script t.txt:1: expected 'key down' or 'key up', not 'key hold'");
    EXPECT_EQ(errorOf("press end"), "script t.txt:1: unknown key 'end'");
    EXPECT_EQ(errorOf("press 0x20"), "script t.txt:1: unknown key '0x20'");
    EXPECT_EQ(errorOf("press 256"), "script t.txt:1: key code 256 is not within 1..255");
    EXPECT_EQ(errorOf("key up 00"), "script t.txt:1: key code 00 is not within 1..255");
    EXPECT_EQ(errorOf("wait -5"), "script t.txt:1: wait time '-5' is not a number of milliseconds within 0..3600000");
    EXPECT_EQ(errorOf("wait 10 20"), "script t.txt:1: expected 'wait MS'");
    EXPECT_EQ(errorOf("tap 5"), "script t.txt:1: expected 'tap X Y'");
    EXPECT_EQ(errorOf("tap 5 4096"), "script t.txt:1: coordinate '4096' is not within 0..4095");
    EXPECT_EQ(errorOf("drag 1 2 3"), "script t.txt:1: expected 'drag X1 Y1 X2 Y2'");
    EXPECT_EQ(errorOf("rotate 90"), "script t.txt:1: expected 'rotate'");
    EXPECT_EQ(errorOf("activate yes"), "script t.txt:1: expected 'activate on' or 'activate off', not 'activate yes'");
    EXPECT_EQ(errorOf("screenshot shot.bmp"), "script t.txt:1: screenshot file 'shot.bmp' does not end in .png");
    EXPECT_EQ(errorOf("quit now"), "script t.txt:1: expected 'quit'");
}

TEST(InputScriptTest, AFileThatCannotBeReadIsReportedAtLineZero) {
    InputScript script;
    std::string error;
    EXPECT_FALSE(InputScript::load("/nonexistent/run.txt", script, error));
    EXPECT_EQ(error, "script /nonexistent/run.txt:0: cannot be read");
}

TEST(InputScriptTest, TheFirstPenCommandIsFound) {
    EXPECT_EQ(parsed("press enter\nwait 5\ndrag 0 0 9 9\ntap 1 1").firstPenLine(), 3);
    EXPECT_EQ(parsed("press enter").firstPenLine(), 0);
}

}  // namespace
}  // namespace vornel
