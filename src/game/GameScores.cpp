// The settings block and its file, and the five-place high-score table kept in it.
#include <algorithm>

#include "core/SaveFolder.h"
#include "core/String.h"
#include "core/StringBuffer.h"
#include "game/GameScene.h"
#include "game/PanelStyle.h"
#include "sprites/GameKey.h"
#include "sprites/Font.h"

namespace vornel {

using namespace panel;

namespace {

constexpr const char* kSettingsFile = SaveFolder::kSettingsFile;

// Word offsets of the settings block.
constexpr int32_t kFlagsWord = 0;   // bit 0: sound off; high byte: the level
constexpr int32_t kPointsWord = 2;  // low byte: the opponent's points; high byte: the player's
constexpr int32_t kFirstPlace = 4;  // each place: a score word, then a level word
constexpr int32_t kPlaceBytes = 4;
constexpr int32_t kPlaces = 5;

constexpr const char* kWidestRow = "99\t99\tEasy";

int32_t scoreWordOffset(int32_t place) { return kFirstPlace + kPlaceBytes * place; }
int32_t levelWordOffset(int32_t place) { return scoreWordOffset(place) + 2; }

int32_t playerPointsOf(int32_t score) { return score >> 8 & 0xFF; }
int32_t opponentPointsOf(int32_t score) { return score & 0xFF; }

// A result equal to a stored one goes above it.
bool beats(int32_t score, int32_t stored) {
    if (stored == 0) {
        return true;
    }
    if (playerPointsOf(score) != playerPointsOf(stored)) {
        return playerPointsOf(score) > playerPointsOf(stored);
    }
    return opponentPointsOf(score) <= opponentPointsOf(stored);
}

bool dismissesTable(int32_t key) {
    return key == GameKey::kConfirm || key == GameKey::kSecondSoftKey || key == GameKey::kBack ||
           key == GameKey::kNewline || key == GameKey::kDigit5 || key == GameKey::kSpace;
}

}  // namespace

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

// A missing or short file leaves the defaults in place (the block keeps what was read).
// Points beyond the cap of a damaged file are taken as the cap, so a restored game can
// still end.
void GameScene::loadSettings() {
    m_settings = allocByte(kSettingsBytes);
    if (!SaveFolder::readFileInto(kSettingsFile, m_settings)) {
        return;
    }
    const int32_t flags = readWord(kFlagsWord);
    m_mute = (flags & 1) != 0;
    m_hardLevel = flags >> 8;
    const int32_t points = readWord(kPointsWord);
    m_opponentPoints = std::min(opponentPointsOf(points), kMaxPoints);
    m_playerPoints = std::min(playerPointsOf(points), kMaxPoints);
    relayout();
    setUpServe();
}

// A file that cannot be written changes nothing: the block in memory stays the record.
void GameScene::saveSettings() {
    writeWord(kFlagsWord, (m_mute ? 1 : 0) + m_hardLevel * 256);
    writeWord(kPointsWord, m_opponentPoints + m_playerPoints * 256);
    SaveFolder::writeFileFrom(kSettingsFile, m_settings);
}

// ---- High scores ----

void GameScene::recordHighScore() {
    const int32_t score = m_playerPoints * 256 + m_opponentPoints;
    for (int32_t place = 0; place < kPlaces; ++place) {
        if (!beats(score, readWord(scoreWordOffset(place)))) {
            continue;
        }
        for (int32_t below = kPlaces - 1; below > place; --below) {
            writeWord(scoreWordOffset(below), readWord(scoreWordOffset(below - 1)));
            writeWord(levelWordOffset(below), readWord(levelWordOffset(below - 1)));
        }
        writeWord(scoreWordOffset(place), score);
        writeWord(levelWordOffset(place), m_hardLevel);
        return;
    }
}

Ref<String> GameScene::highScoreRow(int32_t place) {
    const int32_t score = readWord(scoreWordOffset(place));
    if (score == 0) {
        return String::fromLiteral("--\t--\t--");
    }
    Ref<StringBuffer> row = new StringBuffer();
    row->appendNumber(playerPointsOf(score));
    row->append('\t');
    row->appendNumber(opponentPointsOf(score));
    row->append('\t');
    const int32_t level = readWord(levelWordOffset(place));
    if (level == 0) {
        row->append(*String::fromLiteral("Easy"));
    } else if (level == 1) {
        row->append(*String::fromLiteral("Hard"));
    }
    return row->toString();
}

void GameScene::showHighScores() {
    Ref<Psprite> panel = new Psprite();
    panel->setColor(kPanelColor);
    const Ref<Font> font = TextSprite::defaultFont();
    panel->setSize(font ? font->textWidth(*String::fromLiteral(kWidestRow)) : 0, 0);
    panel->addTextCentred(String::fromLiteral("Top 5 Scores"));
    for (int32_t place = 0; place < kPlaces; ++place) {
        panel->addText(highScoreRow(place));
    }
    addCentred(panel);
    fadeIn(panel);
    beginAutoplayModal();
    while (isActive()) {
        const int32_t key = nextKey();
        if (checkSize() || dismissesTable(key)) {
            break;
        }
        render();
        pace(kFramePeriodMs);
        autoplayPanel();
    }
    fadeOut(panel);
    panel->removeFromParent();
    panel->clear();
}

}  // namespace vornel
