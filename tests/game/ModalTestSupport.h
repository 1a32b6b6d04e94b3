// Shared pieces of the tests of the game's modal screens: device time that moves only on
// sleep, a host that records sounds and gives up after a bounded number of looks (so that no
// modal loop runs forever), a font of known widths, a bank with a 150 × 20 button, and a
// scene that presses one key per menu poll and remembers every panel it fades in.
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
#include <optional>

#include "../media/BankFiles.h"
#include "core/Clock.h"
#include "core/SaveFolder.h"
#include "core/RunContext.h"
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
    bool isOpen() override {
        if (++looks == kLooks) {
            ADD_FAILURE() << "a modal loop never ended";
        }
        return looks < kLooks;
    }
    // A real window goes some time after it was asked to: the scene must stop by itself.
    void closeWindow() override { closeAsked = true; }

    std::vector<std::string> sounds;
    int32_t looks = 0;
    bool closeAsked = false;
};

// Space 5 pixels, every other printable character 10, tab stops every 20; lines 16 high
// unless asked otherwise.
class WidthFont : public Font {
public:
    explicit WidthFont(int32_t lineHeight = 16) : m_lineHeight(lineHeight) {}
    int32_t charWidth(int32_t c) override { return c == ' ' ? 5 : (c > ' ' && c < 127 ? 10 : 0); }
    int32_t lineHeight() override { return m_lineHeight; }
    int32_t tabAdvance(int32_t x) override { return 20 - x % 20; }

private:
    int32_t m_lineHeight;
};

struct PanelShot {
    int32_t width = 0;
    std::vector<std::string> texts;  // its text rows, top to bottom
};

struct MenuShot {
    std::vector<std::string> labels;
    std::vector<int32_t> codes;
    int32_t selected = 0;  // the selected item's code
};

inline std::string textOf(Psprite* sprite) {
    auto* text = dynamic_cast<TextSprite*>(sprite);
    return text != nullptr && text->m_text ? text->m_text->text() : "";
}

class ModalScene : public GameScene {
public:
    void fadeIn(Ref<Psprite> sprite) override {
        PanelShot shot{sprite->width(), {}};
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
            queueKey(presses.front());
            presses.pop_front();
        }
        return GameScene::pollMenuChoice(menu);
    }
    void press(std::initializer_list<int32_t> keys) { presses.insert(presses.end(), keys); }
    static MenuShot shotOf(Menu& menu) {
        MenuShot shot;
        for (Psprite* item = menu.m_firstChild.get(); item != nullptr; item = item->m_next.get()) {
            Psprite* label = item;  // a button row carries its label as its last child
            for (Psprite* child = item->m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
                label = child;
            }
            shot.labels.push_back(textOf(label));
            shot.codes.push_back(item->m_tag);
        }
        shot.selected = menu.m_selected ? menu.m_selected->m_tag : 0;
        return shot;
    }

    std::vector<PanelShot> panels;
    std::vector<MenuShot> menus;
    std::deque<int32_t> presses;
    std::function<void(Menu&)> inspect;  // called before each press goes in
};

// A scene on a 240 × 320 screen with the bank, the font, and a save folder of its own.
class ModalTest : public testing::Test {
protected:
    static constexpr int32_t kButtonWidth = 150;  // wider than every label

    void SetUp() override {
        std::vector<Bytes> pictures(5, literalRecord(2, 2, 0));
        pictures[panel::kButtonPicture] = literalRecord(kButtonWidth, 20, 0);
        m_programFolder.write("app", bankStream(pictures));
        std::filesystem::remove_all(m_saveFolder);
        m_context.emplace(ProgramFolder::path(), m_saveFolder.string(), &clock);
        TextSprite::setDefaultFont(new WidthFont());
        scene = makeScene(240, 320);
    }
    void TearDown() override {
        for (const Ref<ModalScene>& made : m_scenes) {
            made->clear();
        }
        std::filesystem::remove_all(m_saveFolder);
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
        std::ofstream(m_saveFolder / "vornel", std::ios::binary) << std::string(bytes.begin(), bytes.end());
    }
    void writeCookies(const std::string& text) { m_programFolder.writeFile("cookies.txt", Bytes(text.begin(), text.end())); }

    StepClock clock;
    Ref<ModalHost> host = new ModalHost();
    BankFolder m_programFolder;
    std::filesystem::path m_saveFolder =
        std::filesystem::temp_directory_path() / ("vornel-save-" + std::to_string(::getpid()));
    Ref<ModalScene> scene;

private:
    std::optional<RunContext> m_context;
    std::vector<Ref<ModalScene>> m_scenes;
};

}  // namespace vornel::test
