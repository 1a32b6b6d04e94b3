// Shared pieces of the tests of the game's modal screens: device time that moves only on
// sleep, a host that records sounds and closes after a bounded number of looks (so that no
// modal loop can run forever), a font of known widths, a bank with a 104 × 20 button, and a
// scene that presses keys one menu poll at a time and remembers every panel it fades in.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "../media/BankFiles.h"
#include "core/Clock.h"
#include "core/SaveFolder.h"
#include "game/GameScene.h"
#include "game/PanelStyle.h"
#include "sprites/Font.h"

namespace vornel::test {

class StepClock : public Clock {
public:
    uint32_t ticks() override { return now; }
    void sleep(uint32_t milliseconds) override { now += milliseconds; }
    uint32_t now = 5000;
};

class ModalHost : public ScreenHost {
public:
    static constexpr int32_t kLooks = 20000;  // far more than any test needs

    void presentRect(int32_t, int32_t, int32_t, int32_t) override {}
    void playSound(const String& name, int32_t) override { sounds.emplace_back(name.text()); }
    bool isOpen() override { return !closed && ++looks < kLooks; }
    void closeWindow() override { closed = true; }
    bool ranOut() const { return looks >= kLooks; }

    std::vector<std::string> sounds;
    int32_t looks = 0;
    bool closed = false;
};

// Space 5 pixels, every other printable character 10, lines 16 high, tab stops every 20.
class WidthFont : public Font {
public:
    static constexpr int32_t kLineHeight = 16;
    int32_t charWidth(int32_t c) override { return c == ' ' ? 5 : (c > ' ' && c < 127 ? 10 : 0); }
    int32_t lineHeight() override { return kLineHeight; }
    int32_t tabAdvance(int32_t x) override { return 20 - x % 20; }
};

// What a panel showed when it faded in.
struct PanelShot {
    uint32_t color = 0;
    int32_t width = 0;
    std::vector<std::string> texts;  // its text rows, top to bottom
};

// A row of the main menu as the player sees it.
struct MenuShot {
    std::vector<std::string> labels;
    int32_t selected = 0;  // the selected item's code
};

inline std::string textOf(Psprite* sprite) {
    auto* text = dynamic_cast<TextSprite*>(sprite);
    return text != nullptr && text->m_text ? text->m_text->text() : "";
}

// A tap: the key plus a stylus position on the item carrying tapOn.
struct Press {
    int32_t key = 0;
    int32_t tapOn = 0;
};

class ModalScene : public GameScene {
public:
    void fadeIn(Ref<Psprite> sprite) override {
        PanelShot shot{sprite->m_color, sprite->width(), {}};
        for (Psprite* child = sprite->m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
            if (dynamic_cast<TextSprite*>(child) != nullptr) {
                shot.texts.push_back(textOf(child));
            }
        }
        panels.push_back(shot);
        GameScene::fadeIn(sprite);
    }
    // Before each poll, the menu is looked at and the next press goes in.
    int32_t pollMenuChoice(Ref<Menu> menu) override {
        if (!presses.empty()) {
            menus.push_back(shotOf(*menu));
            if (inspect) {
                inspect(*menu);
            }
            const Press press = presses.front();
            presses.pop_front();
            if (press.tapOn != 0) {
                tap(*menu, press.tapOn);
            }
            queueKey(press.key);
        }
        return GameScene::pollMenuChoice(menu);
    }
    void press(std::initializer_list<int32_t> keys) {
        for (int32_t key : keys) {
            presses.push_back({key, 0});
        }
    }
    static MenuShot shotOf(Menu& menu) {
        MenuShot shot;
        for (Psprite* item = menu.m_firstChild.get(); item != nullptr; item = item->m_next.get()) {
            Psprite* label = item;  // a button row carries its label as its last child
            for (Psprite* child = item->m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
                label = child;
            }
            shot.labels.push_back(textOf(label));
        }
        shot.selected = menu.m_selected ? menu.m_selected->m_tag : 0;
        return shot;
    }

    std::vector<PanelShot> panels;
    std::vector<MenuShot> menus;
    std::deque<Press> presses;
    std::function<void(Menu&)> inspect;

private:
    void tap(Menu& menu, int32_t code) {
        for (Psprite* item = menu.m_firstChild.get(); item != nullptr; item = item->m_next.get()) {
            if (item->m_tag == code) {
                m_stylusX.store((item->m_left + item->m_right) / 2);
                m_stylusY.store((item->m_top + item->m_bottom) / 2);
            }
        }
    }
};

inline Bytes solidPicture(int32_t width, int32_t height) {
    Bytes record;
    for (uint32_t value : {uint32_t{'r'}, uint32_t(width), uint32_t(height), 0u, 0u}) {
        appendVarInt(record, value);
    }
    for (int32_t i = 0; i < width * height; ++i) {
        record.insert(record.end(), {0x7F, 0xFF});
    }
    record.push_back(134);
    return record;
}

// A scene on a 240 × 320 screen with the bank, the font, and a save folder of its own.
class ModalTest : public testing::Test {
protected:
    static constexpr int32_t kButtonWidth = 104;

    void SetUp() override {
        m_previousClock = Clock::install(&clock);
        std::vector<Bytes> pictures(5, solidPicture(2, 2));
        pictures[panel::kButtonPicture] = solidPicture(kButtonWidth, 20);
        m_programFolder.write("app", bankStream(pictures));
        std::filesystem::remove_all(m_saveFolder);
        SaveFolder::set(m_saveFolder.string());
        TextSprite::setDefaultFont(new WidthFont());
        scene = makeScene(240, 320);
    }
    void TearDown() override {
        EXPECT_FALSE(host->ranOut()) << "a modal loop never ended";
        for (const Ref<ModalScene>& made : m_scenes) {
            made->clear();
        }
        TextSprite::setDefaultFont(nullptr);
        SaveFolder::set("");
        std::filesystem::remove_all(m_saveFolder);
        Clock::install(m_previousClock);
    }
    Ref<ModalScene> makeScene(int32_t width, int32_t height) {
        Ref<ModalScene> made = new ModalScene();
        made->setHost(host);
        made->setSize(width, height);
        made->m_bank = new PictureBank(host, *String::fromLiteral("app"));
        m_scenes.push_back(made);
        return made;
    }
    Bytes settingsFile() const {
        std::ifstream in(m_saveFolder / "vornel", std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void writeSettingsFile(const Bytes& bytes) {
        std::filesystem::create_directories(m_saveFolder);
        std::ofstream(m_saveFolder / "vornel", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void writeCookies(const std::string& text) { m_programFolder.writeFile("cookies.txt", Bytes(text.begin(), text.end())); }

    StepClock clock;
    Ref<ModalHost> host = new ModalHost();
    BankFolder m_programFolder;
    std::filesystem::path m_saveFolder =
        std::filesystem::temp_directory_path() / ("vornel-save-" + std::to_string(::getpid()));
    Ref<ModalScene> scene;

private:
    Clock* m_previousClock = nullptr;
    std::vector<Ref<ModalScene>> m_scenes;
};

}  // namespace vornel::test
