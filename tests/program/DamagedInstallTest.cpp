// A damaged installation: each data file missing, cut short, or overwritten with noise. The
// game plays on through the menu, help, about, a point, the end of a game with its fortune
// and the table, and names the file on its error output.
#include "EndToEnd.h"

#include <gtest/gtest.h>

#include <random>

namespace vornel {
namespace {

enum class Damage { Missing, Truncated, Noise };

const char* nameOf(Damage damage) {
    switch (damage) {
        case Damage::Missing: return "missing";
        case Damage::Truncated: return "truncated";
        default: return "noise";
    }
}

// One point from the end of a game: the built-in player wins it, so the fortune ("gong"
// never, "music5" always) and the table follow. Help and about are opened from the menu on
// the way; the built-in player closes them after a look.
constexpr const char* kScript =
    "wait 3000\nchar H\nwait 2500\nchar A\nwait 45000\nquit\n";

class DamagedInstall : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        std::vector<uint8_t> settings(24, 0);
        settings[3] = 10;  // the player leads 10:0
        m_settings = settings;
    }
    // A copy of the data folder with one file damaged.
    std::string damagedCopy(const std::string& name, Damage damage) {
        const fs::path data = file("data");
        fs::remove_all(data);
        fs::create_directories(data);
        for (const auto& entry : fs::directory_iterator(VORNEL_DATA)) {
            if (entry.is_regular_file() && entry.path().filename() != "vornel") {
                fs::copy_file(entry.path(), data / entry.path().filename());
            }
        }
        const fs::path target = data / name;
        const auto size = static_cast<std::size_t>(fs::file_size(target));
        if (damage == Damage::Missing) {
            fs::remove(target);
        } else if (damage == Damage::Truncated) {
            fs::resize_file(target, size / 2);
        } else {
            std::mt19937 random(static_cast<uint32_t>(size));
            std::vector<char> noise(size);
            for (char& byte : noise) {
                byte = static_cast<char>(random());
            }
            std::ofstream(target, std::ios::binary | std::ios::trunc).write(noise.data(),
                                                                           static_cast<std::streamsize>(size));
        }
        return data.string();
    }
    std::vector<uint8_t> m_settings;
};

TEST_F(DamagedInstall, EveryDamagedDataFileIsNamedAndThePlayGoesOn) {
    const std::vector<std::string> files = {"app0.bin", "app1.bin",  "f15.bin", "help.txt", "cookies.txt",
                                            "bounce.wav", "hit.wav", "gong.wav", "bad.wav", "music5.wav"};
    for (const std::string& name : files) {
        for (const Damage damage : {Damage::Missing, Damage::Truncated, Damage::Noise}) {
            // A help text cut short is still a help text: nothing can tell it is damaged.
            const bool detectable = !(name == "help.txt" && damage == Damage::Truncated);
            SCOPED_TRACE(name + " " + nameOf(damage));
            fs::remove_all(file("save"));
            writeSettings(m_settings);
            const std::string data = damagedCopy(name, damage);
            ASSERT_EQ(run("pocketpc", kScript, {"--autoplay", "--seed", "7", "--data", data}), 0) << errors();
            EXPECT_EQ(finalScores(), (std::vector<std::pair<int32_t, int32_t>>{{11, 0}})) << output();
            if (detectable) {
                EXPECT_NE(errors().find(name), std::string::npos) << errors();
            }
            const std::vector<uint8_t> saved = readSettings();
            ASSERT_EQ(saved.size(), 24u);
            EXPECT_EQ(saved[5], 11);  // the finished game heads the table
        }
    }
}

TEST_F(DamagedInstall, AMissingFontIsNamedOnce) {
    const std::string data = damagedCopy("f15.bin", Damage::Missing);
    ASSERT_EQ(run("pocketpc", "wait 4000\nquit\n", {"--data", data}), 0) << errors();
    const std::string text = errors();
    const std::string line = "font f15.bin is missing\n";
    const std::size_t first = text.find(line);
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find(line, first + 1), std::string::npos) << text;
}

}  // namespace
}  // namespace vornel
