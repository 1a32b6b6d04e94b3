// The end of a game: the result into the high-score table, a fortune in a panel, the table,
// and the next game.
#include <cstdio>

#include "core/FileStream.h"
#include "core/Random.h"
#include "core/String.h"
#include "game/GameScene.h"
#include "game/PanelStyle.h"
#include "sprites/Font.h"

namespace vornel {

using namespace panel;

namespace {

constexpr int32_t kPanelScreenMargin = 10;  // the panel is this much narrower than the screen
constexpr int32_t kWidestPanel = 230;
constexpr int32_t kPickMargin = 79;         // a fortune never starts in the buffer's last line
constexpr int32_t kHeadingGap = 8;          // pixels under the heading
constexpr int32_t kBottomGap = 4;
constexpr uint8_t kLineFeed = 10;

// One past the last line feed among the first count bytes; 0 when there is none.
int32_t endOfLastLine(const Array<uint8_t>& text, int32_t count) {
    for (int32_t i = count; i > 0; --i) {
        if (text[i - 1] == kLineFeed) {
            return i;
        }
    }
    return 0;
}

Ref<String> bytesAsString(const Array<uint8_t>& text, int32_t from, int32_t to) {
    return new String(reinterpret_cast<const char*>(text.data()), from, to - from);
}

}  // namespace

void GameScene::showFortune(bool won) {
    trace(*String::fromLiteral("game over"), m_playerPoints, m_opponentPoints);
    std::fflush(stdout);  // seen at once by whoever watches the output
    recordHighScore();
    m_playerPoints = 0;
    m_opponentPoints = 0;
    saveSettings();

    Ref<Psprite> panel = makeFortunePanel(won);
    if (panel) {
        addCentred(panel);
    }
    if (!won) {
        playSound(String::fromLiteral("gong"));  // a lost game sounds the same with or without a fortune
    }
    if (panel) {
        fadeIn(panel);
        waitForDismiss();
        fadeOut(panel);
        panel->removeFromParent();
        panel->clear();
    }
    playSound(String::fromLiteral("music5"));
    showHighScores();
    startNewGame();
}

// The panel with its heading and one fortune wrapped into it; null when the fortunes file
// gave no fortune to show.
Ref<Psprite> GameScene::makeFortunePanel(bool won) {
    readFortunes();
    const int32_t start = pickFortune();
    if (start < 0) {
        return nullptr;
    }
    const int32_t limit = std::min(m_width - kPanelScreenMargin, kWidestPanel);
    Ref<Psprite> panel = new Psprite();
    panel->setColor(kPanelColor);
    panel->setSize(limit, 4);
    panel->addTextCentred(String::fromLiteral(won ? "Winning fortune:" : "Losing fortune:"));
    panel->setSize(panel->width(), panel->height() + kHeadingGap);
    addFortuneLines(*panel, start, limit);
    panel->setSize(panel->width(), panel->height() + kBottomGap);
    return panel;
}

// The file is read once per run. A missing or short file leaves fewer bytes to choose
// from; the count read is kept, and nothing past it is ever looked at.
void GameScene::readFortunes() {
    if (!m_fortunes.isEmpty()) {
        return;
    }
    m_fortunes = allocByte(kFortuneBytes);
    m_fortuneLength = 0;
    Ref<FileStream> stream = openStream(*String::fromLiteral("/cookies.txt"));
    if (!stream) {
        std::fprintf(stderr, "vornel: cookies.txt is missing; games end without a fortune\n");
        return;
    }
    m_fortuneLength = readFully(*stream, m_fortunes, 0, m_fortunes.length());
    stream->close();
    if (!TextSprite::isText(m_fortunes, m_fortuneLength)) {
        std::fprintf(stderr, "vornel: cookies.txt is damaged: it holds bytes that are not text; no fortunes\n");
        m_fortuneLength = 0;
    } else if (m_fortuneLength < kFortuneBytes) {
        std::fprintf(stderr, "vornel: cookies.txt holds %d of %d bytes; fortunes come from the lines it has\n",
                     m_fortuneLength, kFortuneBytes);
    }
}

// With the whole buffer, a pick stays one fortune's length before its end; with a short
// file, it stays before the start of its last whole line.
int32_t GameScene::fortunePickSpan(const Array<uint8_t>& text, int32_t length) {
    if (length >= kFortuneBytes) {
        return kFortuneBytes - kPickMargin;
    }
    return endOfLastLine(text, endOfLastLine(text, length) - 1);  // where the last whole line starts
}

// The fraction picks a point p, and the fortune is the line that starts after the first line
// feed at or after p, so the first line (the heading) never shows.
int32_t GameScene::fortuneAt(const Array<uint8_t>& text, int32_t length, Fixed fraction) {
    const int32_t span = fortunePickSpan(text, length);
    if (span <= 0) {
        return -1;
    }
    const int32_t end = length >= kFortuneBytes ? length : endOfLastLine(text, length);
    int32_t p = fmul(fraction, span);
    while (p < end && text[p] != kLineFeed) {
        ++p;
    }
    return p + 1 < end ? p + 1 : -1;
}

// No random number is drawn when there is no line to show, so a missing or empty fortunes
// file leaves the game's random sequence as it was.
int32_t GameScene::pickFortune() {
    if (fortunePickSpan(m_fortunes, m_fortuneLength) <= 0) {
        return -1;
    }
    return fortuneAt(m_fortunes, m_fortuneLength, randomFraction());
}

// Lines are cut at the last space before the character that made them reach the limit;
// that space is not shown, and what follows it carries its width into the next line.
void GameScene::addFortuneLines(Psprite& panel, int32_t start, int32_t limit) {
    const Ref<Font> font = TextSprite::defaultFont();
    const int32_t end = std::min(m_fortuneLength, m_fortunes.length());
    int32_t lastBreak = start;
    int32_t width = 0;
    int32_t widthAtBreak = 0;
    int32_t i = start;
    for (; i < end && m_fortunes[i] != kLineFeed; ++i) {
        const uint8_t character = m_fortunes[i];
        width += font ? font->charWidth(character) : 0;
        if (width >= limit && lastBreak != i && lastBreak > start) {
            panel.addTextCentred(bytesAsString(m_fortunes, start, lastBreak));
            start = lastBreak + 1;
            width -= widthAtBreak;
        }
        if (character == ' ') {
            widthAtBreak = width;
            lastBreak = i;
        }
    }
    panel.addTextCentred(bytesAsString(m_fortunes, start, i));
}

}  // namespace vornel
