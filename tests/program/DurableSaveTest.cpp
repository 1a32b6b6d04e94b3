// The settings file survives the program being killed at any moment: while the game saves it
// again and again, SIGKILL at random times always leaves 24 bytes, old or new.
#include "EndToEnd.h"

#include <gtest/gtest.h>

#include <random>

namespace vornel {
namespace {

// Device time from the start until the main menu has faded in over the table.
constexpr int32_t kMenuShownMs = 3500;
constexpr int32_t kKills = 12;

// Waits (real time) until the settings file's sound choice is no longer the one given: the game
// is saving. False when it gave up.
bool waitForFlipIn(const std::string& path, uint8_t sound) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (; std::chrono::steady_clock::now() < giveUp; std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
        std::ifstream in(path, std::ios::binary);
        char first = 0;
        if (in.get(first) && static_cast<uint8_t>(first) != sound) {
            return true;
        }
    }
    return false;
}

// Each 'S' in the menu flips the sound choice and saves the file at once.
std::string flippingScript() {
    std::string script = "wait " + std::to_string(kMenuShownMs) + "\n";
    for (int32_t i = 0; i < 6000; ++i) {
        script += "char S\nwait 2\n";
    }
    return script;
}

// Each kill lands while the game saves: once the file shows a flip, after a random moment more
// of real time (at ten times real speed the script's flips go on for well over a second).
TEST_F(EndToEnd, KillingTheGameWhileItSavesNeverDamagesTheSettingsFile) {
    std::vector<uint8_t> settings(24, 0);
    settings[1] = 1;                    // Hard
    settings[4] = 3, settings[5] = 11;  // a high score to keep: 11:3 on Hard
    settings[6] = 1;
    writeSettings(settings);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int32_t> moment(0, 400);  // real ms
    for (int32_t kill = 0; kill < kKills; ++kill) {
        const pid_t game = start("pocketpc", flippingScript(), {}, 10);
        ASSERT_GT(game, 0);
        ASSERT_TRUE(waitForFlipIn(file("save/vornel"), settings[0])) << "the game never saved; it said:\n" << errors();
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        ::kill(game, SIGKILL);
        ASSERT_EQ(exitStatus(game), 128 + SIGKILL);
        const std::vector<uint8_t> saved = readSettings();
        ASSERT_EQ(saved.size(), 24u) << "after kill " << kill;
        std::vector<uint8_t> expected = settings;
        expected[0] = saved[0];
        EXPECT_LE(saved[0], 1);
        EXPECT_EQ(saved, expected) << "after kill " << kill;  // only the sound bit ever changes
        settings = saved;
        // At most the one replacement the kill cut short is left; the next save removes it.
        int32_t temporaries = 0;
        for (const auto& entry : fs::directory_iterator(file("save"))) {
            const std::string name = entry.path().filename().string();
            temporaries += name != "vornel" && name != "vornel.lock" ? 1 : 0;
        }
        EXPECT_LE(temporaries, 1);
    }
}

}  // namespace
}  // namespace vornel
