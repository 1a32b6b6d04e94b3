// The demonstration screen: its scene, its frame and its input.
#include "shell/DemoScreen.h"

#include <algorithm>

#include "core/String.h"
#include "platform/Launcher.h"
#include "shell/KeyMap.h"
#include "shell/ShellState.h"

namespace vornel {

Ref<Screen> DemoScreen::make() {
    Ref<DemoScreen> demo = new DemoScreen();
    demo->m_autoplay = Launcher::options().autoplay;
    return demo;
}

DemoScreen::DemoScreen() {
    setColor(kTopColor);
    setColor2(kBottomColor);
    m_caption = new TextSprite();
    m_caption->setPosition(kMargin, kMargin);
    add(m_caption);
    m_ball = new DemoBall(kBallDiameter);
    add(m_ball);
}

uint64_t DemoScreen::packSize(int32_t width, int32_t height) {
    return static_cast<uint64_t>(static_cast<uint32_t>(width)) << 32 | static_cast<uint32_t>(height);
}

void DemoScreen::setSize(int32_t width, int32_t height) {
    m_wantedSize.store(packSize(width, height));
    if (!m_hasSize.load() && width > 0 && height > 0) {
        Screen::setSize(width, height);
        m_ballX = toFixed(width / 2);
        m_ballY = toFixed(height / 2);
        layOut();
        m_hasSize.store(true);
    }
}

bool DemoScreen::isActive() {
    return !ShellState::instance().m_shuttingDown.load();
}

void DemoScreen::run() {
    render();
    while (isActive()) {
        update();
        frame();
    }
}

void DemoScreen::update() {
    applyWantedSize();
    takeKeyPresses();
    followPen();
    moveWithHeldKeys();
    if (m_autoplay) {
        m_player.steer(ballX(), ballY(), m_width, m_height, m_frameTime);
    }
    placeBall();
}

// A turned display swaps the sides: the ball keeps its place in proportion.
bool DemoScreen::applyWantedSize() {
    const uint64_t wanted = m_wantedSize.load();
    const auto width = static_cast<int32_t>(wanted >> 32);
    const auto height = static_cast<int32_t>(wanted & 0xFFFFFFFF);
    if ((width == m_width && height == m_height) || width <= 0 || height <= 0) {
        return false;
    }
    if (m_width > 0 && m_height > 0) {
        m_ballX = static_cast<Fixed>(static_cast<int64_t>(m_ballX) * width / m_width);
        m_ballY = static_cast<Fixed>(static_cast<int64_t>(m_ballY) * height / m_height);
    }
    Screen::setSize(width, height);
    layOut();
    return true;
}

void DemoScreen::layOut() {
    m_caption->setSize(std::max(m_width - 2 * kMargin, 1), 0);
    m_caption->setWrappedText(String::fromLiteral(kCaption));
    m_caption->setPosition(kMargin, kMargin);
    placeBall();
}

void DemoScreen::takeKeyPresses() {
    for (int32_t code = nextKey(); code != 0; code = nextKey()) {
        if (code == KeyMap::kConfirm) {
            playSound(String::fromLiteral(kConfirmSound));
        }
    }
}

// A tap puts the ball under the pen, and a drag pulls it along.
void DemoScreen::followPen() {
    const int32_t x = m_stylusX.load();
    const int32_t y = m_stylusY.load();
    if (x == 0 || (x == m_seenStylusX && y == m_seenStylusY)) {
        return;  // x 0: the pen is not in use
    }
    m_seenStylusX = x;
    m_seenStylusY = y;
    m_ballX = toFixed(x);
    m_ballY = toFixed(y);
}

int32_t DemoScreen::heldAxis(int32_t lessArrow, int32_t lessDigit, int32_t moreArrow, int32_t moreDigit) {
    const bool less = isKeyDown(lessArrow) || isKeyDown(lessDigit);
    const bool more = isKeyDown(moreArrow) || isKeyDown(moreDigit);
    return (more ? 1 : 0) - (less ? 1 : 0);
}

void DemoScreen::moveWithHeldKeys() {
    const int32_t dx = heldAxis(KeyMap::kLeft, '4', KeyMap::kRight, '6');
    const int32_t dy = heldAxis(KeyMap::kUp, '2', KeyMap::kDown, '8');
    const int32_t elapsed = std::clamp(m_frameTime, 0, kLongestStepMs);
    const Fixed step = toFixed(kBallSpeed * elapsed) / 1000;
    m_ballX += dx * step;
    m_ballY += dy * step;
}

// The ball stays whole on the screen.
void DemoScreen::placeBall() {
    const Fixed radius = toFixed(kBallDiameter / 2);
    m_ballX = std::clamp(m_ballX, radius, std::max(radius, toFixed(m_width) - radius));
    m_ballY = std::clamp(m_ballY, radius, std::max(radius, toFixed(m_height) - radius));
    m_ball->setPositionFixed(m_ballX - radius, m_ballY - radius);
}

}  // namespace vornel
