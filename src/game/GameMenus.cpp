// The main menu over the frozen match, and the fades that open and close every modal screen.
#include <vector>

#include "core/String.h"
#include "game/Autoplayer.h"
#include "game/GameScene.h"
#include "game/PanelStyle.h"
#include "sprites/GameKey.h"

namespace vornel {

using namespace panel;

namespace {

constexpr Fixed kFirstFadeStep = 2048;  // a fade starts (or ends) 1/16 away from its goal
constexpr Fixed kFadePerMs = 64;        // opacity gained or lost per ms: a full ramp is ~0.5 s

constexpr int32_t kButtonScreenWidth = 240;  // narrower screens show the menu as text on a fill
constexpr int32_t kPortraitMargin = 27;      // pixels of a portrait screen's width left free
constexpr Fixed kMaxButtonSpread = 0xC000;   // the rows spread out to 1.5 times their text spacing

// Item codes: the first letter of each label.
constexpr int32_t kNewGame = 'N';
constexpr int32_t kResume = 'R';
constexpr int32_t kSound = 'S';
constexpr int32_t kSoundQuietly = 's';  // typed: shows and saves the sound choice, no flip
constexpr int32_t kLevel = 'L';
constexpr int32_t kHelp = 'H';
constexpr int32_t kAbout = 'A';
constexpr int32_t kExit = 'E';
constexpr int32_t kPadMenu = GameKey::kDigit0;  // the keypad's menu key closes the menu

int32_t toPixels(Fixed value) { return value >> kFixedShift; }

}  // namespace

// ---- Fades ----

void GameScene::fadeIn(Ref<Psprite> sprite) {
    if (!sprite) {
        return;
    }
    pace(0);
    Fixed opacity = kFirstFadeStep;
    while (opacity < kFixedOne && isActive()) {
        sprite->setOpacity(opacity);
        render();
        pace(kFramePeriodMs);
        opacity += kFadePerMs * m_frameTime;
    }
    sprite->setOpacity(kFixedOne);
}

void GameScene::fadeOut(Ref<Psprite> sprite) {
    if (!sprite) {
        return;
    }
    Fixed opacity = sprite->opacity() - kFirstFadeStep;
    pace(0);
    while (opacity > 0 && isActive()) {
        sprite->setOpacity(opacity);
        render();
        pace(kFramePeriodMs);
        opacity -= kFadePerMs * m_frameTime;
    }
    sprite->setOpacity(0);
    render();
}

// ---- The main menu ----

bool GameScene::gameInProgress() const {
    return m_playerPoints != 0 || m_opponentPoints != 0 || m_matchState != kServePending;
}

Ref<String> GameScene::soundLabel() const {
    return String::fromLiteral(m_mute ? "Sound: Off" : "Sound: On");
}

Ref<String> GameScene::levelLabel() const {
    return String::fromLiteral(m_hardLevel != 0 ? "Level: Hard" : "Level: Easy");
}

Ref<Menu> GameScene::buildMainMenu() {
    Ref<Menu> menu = new Menu();
    menu->setTouchScreen(isTouchScreen());
    menu->addItem(String::fromLiteral("New Game"));
    menu->selectByKey(kNewGame);
    if (gameInProgress()) {
        menu->addItem(String::fromLiteral("Resume"));
        menu->selectByKey(kResume);
    }
    menu->addItem(soundLabel());
    menu->addItem(levelLabel());
    menu->addItem(String::fromLiteral("Help"));
    menu->addItem(String::fromLiteral("About"));
    menu->addItem(String::fromLiteral("Exit"));
    return menu;
}

int32_t GameScene::runMainMenu() {
    Ref<Menu> menu = buildMainMenu();
    styleMenu(menu);
    addCentred(menu);
    fadeIn(menu);
    beginAutoplayModal();
    while (isActive()) {
        if (checkSize()) {
            menu->removeFromParent();
            addCentred(menu);
        }
        if (m_autoplayer != nullptr) {
            m_autoplayer->menuFrame(menu->m_selected ? menu->m_selected->m_tag : 0);
        }
        const int32_t choice = pollMenuChoice(menu);
        switch (choice) {
            case kNewGame:
                closeMenu(menu);
                startNewGame();
                playSound(String::fromLiteral("music5"));
                return 1;
            case kResume:
            case kPadMenu:
                closeMenu(menu);
                return 0;
            case GameKey::kSecondSoftKey:
            case GameKey::kBack:
                if (menu->m_selected && menu->m_selected->m_tag == kExit) {
                    closeMenu(menu);
                    return 0;
                }
                menu->selectByKey(kExit);
                break;
            case kSound:
                m_mute = !m_mute;
                showSoundChoice(menu);
                break;
            case kSoundQuietly:
                showSoundChoice(menu);
                break;
            case kLevel:
                m_hardLevel = m_hardLevel == 0 ? 1 : 0;
                setItemLabel(menu->selectedItem(), levelLabel());
                saveSettings();
                break;
            case kHelp:
                fadeOut(menu);
                menu->removeFromParent();
                render();
                showHelp();
                reopenMenu(menu);
                break;
            case kAbout:
                fadeOut(menu);
                menu->removeFromParent();
                showAbout();
                reopenMenu(menu);
                break;
            case kExit:
                leaveGame();
                return 0;
            default:
                break;
        }
        frame();
    }
    menu->removeFromParent();
    menu->clear();
    return 0;
}

void GameScene::showSoundChoice(const Ref<Menu>& menu) {
    menu->selectByKey(kSound);
    setItemLabel(menu->selectedItem(), soundLabel());
    saveSettings();
}

void GameScene::reopenMenu(const Ref<Menu>& menu) {
    addCentred(menu);
    fadeIn(menu);
    beginAutoplayModal();
}

void GameScene::closeMenu(const Ref<Menu>& menu) {
    fadeOut(menu);
    menu->removeFromParent();
    menu->clear();
}

// The sound stops at once; the window then closes as if the player had closed it, and the
// game's loops end with it. The settings file is current already.
void GameScene::leaveGame() {
    m_leaving = true;
    if (m_host) {
        m_host->stopSound();
        m_host->closeWindow();
    }
}

bool GameScene::isActive() {
    return !m_leaving && Screen::isActive();
}

void GameScene::setItemLabel(Ref<Psprite> item, Ref<String> text) {
    auto* label = dynamic_cast<TextSprite*>(item.get());
    if (label == nullptr) {
        return;
    }
    label->setText(std::move(text));
    const int32_t room = label->m_parent ? label->m_parent->width() : label->width();
    label->setPositionFixed(((room - label->width()) >> 1) * kFixedOne, label->y());
}

// Narrow screens keep the plain list on a fill. Wider ones put every item on a button and
// spread the rows over the screen's height (or, in portrait, over most of its width).
void GameScene::styleMenu(Ref<Menu> menu) {
    if (!menu) {
        return;
    }
    if (m_width < kButtonScreenWidth) {
        menu->setColor(kPanelColor);
        return;
    }
    const int32_t extent = m_height > m_width ? m_width - kPortraitMargin : m_height;
    const int32_t listHeight = menu->height();
    Fixed spread = listHeight > 0 ? static_cast<Fixed>((static_cast<int64_t>(extent) << kFixedShift) / listHeight) : kFixedOne;
    if (spread > kMaxButtonSpread) {
        spread = kMaxButtonSpread;
    }
    std::vector<Ref<Psprite>> items;
    for (Psprite* item = menu->m_firstChild.get(); item != nullptr; item = item->m_next.get()) {
        items.emplace_back(item);
    }
    const Ref<Psprite> selected = menu->m_selected;
    menu->removeAll();
    menu->m_selected = nullptr;
    int32_t bottom = 0;
    for (const Ref<Psprite>& item : items) {
        Ref<Psprite> row = buttonRow(item, spread);
        menu->addBack(row);
        bottom = toPixels(row->y()) + row->height();
        if (menu->width() < row->width()) {
            menu->setSize(row->width(), menu->height());  // so that centring the menu centres its buttons
        }
        if (item == selected) {
            menu->m_selected = row;
        }
    }
    menu->setSize(menu->width(), bottom);
}

// One button: the item's label centred on picture 1, the row placed at the item's spread-out
// height and carrying the item's code.
Ref<Psprite> GameScene::buttonRow(const Ref<Psprite>& item, Fixed spread) {
    Ref<Psprite> row = new Psprite();
    row->setTag(item->m_tag);
    Ref<Psprite> background = new Psprite();
    background->setPicture(m_bank, kButtonPicture);
    background->setDepth(kFixedOne);
    row->add(background);
    row->setSize(background->width(), background->height());
    row->setPosition(0, fmul(toPixels(item->y()), spread));
    Ref<Psprite> label = item;
    if (item->picture() >= 0) {
        label = new Psprite();
        label->setPicture(item->m_bank, item->picture());
        label->setOpacity(item->opacity());
    }
    label->setPosition((background->width() - label->width()) >> 1, (background->height() - label->height() + 1) >> 1);
    row->add(label);
    return row;
}

int32_t GameScene::pollMenuChoice(Ref<Menu> menu) {
    const int32_t key = nextKey();
    const int32_t x = input().stylusX();
    const int32_t y = input().stylusY();
    const int32_t answer = menu ? menu->handleKey(key, x, y) : 0;
    if (x != 0 || y != 0) {
        input().clearStylus();
        if (answer > kHighestKeyCode) {
            render();
            playSound(String::fromLiteral("bounce"));
            m_penSteering = 1;  // chosen with the pen: the pen steers the bat from now on
        }
    }
    return answer;
}

// ---- The built-in player in menus and panels ----

void GameScene::beginAutoplayModal() {
    if (m_autoplayer != nullptr) {
        m_autoplayer->beginModal();
    }
}

void GameScene::autoplayPanel() {
    if (m_autoplayer != nullptr) {
        m_autoplayer->panelFrame();
    }
}

}  // namespace vornel
