// The modal side of the game: the fades that open and close every modal screen, the words
// of the settings block, and the menu, help, about, high-score and fortune screens.
#include <cstdio>

#include "core/String.h"
#include "game/GameScene.h"

namespace vornel {

namespace {

constexpr Fixed kFirstFadeStep = 2048;  // a fade starts (or ends) 1/16 away from its goal
constexpr Fixed kFadePerMs = 64;        // opacity gained or lost per ms: a full ramp is ~0.5 s

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

// ---- The settings block ----
// Words are 16-bit little-endian. The block is made zeroed on first use, which reads as
// sound on, level Easy, no game in progress and an empty high-score table. A word that does
// not lie wholly inside the block reads as 0 and is not written.

int32_t GameScene::readWord(int32_t offset) {
    if (m_settings.isEmpty()) {
        m_settings = allocByte(kSettingsBytes);
    }
    if (offset < 0 || offset + 1 >= m_settings.length()) {
        return 0;
    }
    return m_settings[offset] | m_settings[offset + 1] << 8;
}

void GameScene::writeWord(int32_t offset, int32_t value) {
    if (m_settings.isEmpty()) {
        m_settings = allocByte(kSettingsBytes);
    }
    if (offset < 0 || offset + 1 >= m_settings.length()) {
        return;
    }
    m_settings[offset] = static_cast<uint8_t>(value & 0xFF);
    m_settings[offset + 1] = static_cast<uint8_t>(value >> 8 & 0xFF);
}

void GameScene::loadSettings() {}  // the settings file fills it in

void GameScene::saveSettings() {}  // the settings file fills it in

// ---- Menu ----

void GameScene::runMainMenu() {}  // the main menu fills it in; until then play starts at once

void GameScene::setItemLabel(Ref<Psprite> /*item*/, Ref<String> /*text*/) {}  // the main menu fills it in

void GameScene::styleMenu(Ref<Menu> /*menu*/) {}  // the main menu fills it in

int32_t GameScene::pollMenuChoice(Ref<Menu> /*menu*/) {
    return 0;  // the main menu fills it in
}

// ---- Help, about, high scores ----

void GameScene::showHelp() {}  // the help screen fills it in

void GameScene::showAbout() {}  // the about screen fills it in

void GameScene::waitForDismiss() {}  // the help and about screens fill it in

void GameScene::recordHighScore() {}  // the high-score table fills it in

void GameScene::showHighScores() {}  // the high-score table fills it in

// ---- The end of a game ----

// For now the end of a game is only written to the console (flushed, so that a watcher of
// the output sees it while play goes on), and the next game starts at once; the fortune
// screen fills the rest in.
void GameScene::showFortune(bool /*won*/) {
    trace(*String::fromLiteral("game over"), m_playerPoints, m_opponentPoints);
    std::fflush(stdout);
    m_playerPoints = 0;
    m_opponentPoints = 0;
    startNewGame();
}

}  // namespace vornel
