// The game object's match flow: the frame loop, size changes from the window thread, the
// serve, the scoring and the score displays with their shaking markers.
#include "game/GameScene.h"

#include "core/String.h"
#include "game/Autoplayer.h"

namespace vornel {

namespace {

constexpr int32_t kServeWaitMs = 2000;      // the ball hangs this long before the opponent serves
constexpr int32_t kBetweenPointsMs = 4000;  // the ball flies on this long after a point
constexpr int32_t kShakeMs = 1000;          // how long the scorer's marker shakes
constexpr Fixed kOnePixel = kFixedOne;      // the marker's jump, in Fixed pixels
constexpr int32_t kScoreMargin = 4;         // pixels between a score text and the screen's edges
constexpr int32_t kMarkerInset = 6;         // pixels from the top right corner to its marker

// The wanted size travels as one word, width low and height high, so that the game thread
// never reads half of a change: each side has 16 bits.
constexpr int32_t kLargestSide = 0xFFFF;

uint32_t packSize(int32_t width, int32_t height) {
    return static_cast<uint32_t>(width) | static_cast<uint32_t>(height) << 16;
}
int32_t packedWidth(uint32_t size) { return static_cast<int32_t>(size & 0xFFFF); }
int32_t packedHeight(uint32_t size) { return static_cast<int32_t>(size >> 16); }

// Moves the marker one pixel right and down, or back again.
void jiggle(Psprite* marker) {
    if (marker != nullptr) {
        marker->setPositionFixed(marker->x() ^ kOnePixel, marker->y() ^ kOnePixel);
    }
}

}  // namespace

// Parents and children hold each other. The shell empties the screen's own tree before it
// lets go; the table view's children are let go here, in case the view never joined it.
GameScene::~GameScene() {
    delete m_autoplayer;
    if (m_view) {
        m_view->clear();
    }
}

// ---- Size ----

// Every size the window asks for is kept, even one equal to the current size: a turn and
// a turn back before the game thread looked must leave the screen as it was. Only the very
// first size is applied here, before the game thread exists, so that nothing draws yet.
void GameScene::setSize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        return;  // not a size a screen can have, nor one the word can carry
    }
    const uint32_t before = m_wantedSize.exchange(packSize(width, height), std::memory_order_acq_rel);
    if (before == 0 && m_width == 0) {
        Screen::setSize(width, height);
    }
}

bool GameScene::checkSize() {
    const auto wanted = static_cast<uint32_t>(
        taped(demo::kWantedSize, static_cast<int32_t>(m_wantedSize.load(std::memory_order_acquire))));
    const int32_t width = packedWidth(wanted);
    const int32_t height = packedHeight(wanted);
    if (wanted == 0 || (width == m_width && height == m_height)) {
        return false;
    }
    Screen::setSize(width, height);
    if (m_view) {
        m_view->fitTo(*this);
    }
    relayout();
    return true;
}

// ---- The game thread ----

void GameScene::run() {
    setUpContent();
    render();
    runMainMenu();
    while (isActive()) {
        checkSize();
        shakeIndicators();
        if (m_autoplayer != nullptr) {
            m_autoplayer->frame();
        }
        updatePlayer();
        if (m_leaving) {
            break;  // "Exit" was chosen in the menu this frame opened: nothing more is played or saved
        }
        updateBall();
        updateOpponent(m_opponentBat);
        placeShadow(m_ball, m_shadow);
        frame();
    }
}

void GameScene::enableAutoplay(AutoplayInput* input) {
    delete m_autoplayer;
    m_autoplayer = input != nullptr ? new Autoplayer(*this, *input) : nullptr;
}

// ---- The match ----

void GameScene::startNewGame() {
    m_playerPoints = 0;
    m_opponentPoints = 0;
    relayout();
    setUpServe();
}

// The service changes every two points, deuce or not: the player serves at totals 0 and 1,
// the opponent at 2 and 3, and so on.
void GameScene::setUpServe() {
    m_serverFlag = ((m_playerPoints + m_opponentPoints) & 2) == 0 ? 1 : 0;
    m_rallyTimer = kServeWaitMs;
    if (m_ball) {
        const Fixed end = m_serverFlag != 0 ? -kTableHalfLength : kTableHalfLength;
        m_ball->setPos(0, kServeHeight, end);
        placeShadow(m_ball, m_shadow);
    }
    if (m_ballVelocity) {
        m_ballVelocity->setZero();
    }
    m_matchState = kServePending;
}

// The ball is not stopped: it flies on until the timer runs out. A score at the cap stays
// there, but the sound, the shake and the pause still follow.
void GameScene::awardPoint(bool toPlayer) {
    if (toPlayer) {
        if (m_playerPoints < kMaxPoints) {
            ++m_playerPoints;
        }
        m_shakeTimer = -kShakeMs;
        playSound(Ref<String>(String::fromLiteral("gong")));
    } else {
        if (m_opponentPoints < kMaxPoints) {
            ++m_opponentPoints;
        }
        m_shakeTimer = kShakeMs;
        playSound(Ref<String>(String::fromLiteral("bad")));
    }
    relayout();
    saveSettings();
    m_matchState = kPointOver;
    m_rallyTimer = kBetweenPointsMs;
}

// The player's score keeps the top left corner it was given; the opponent's follows the
// screen's right edge.
void GameScene::relayout() {
    if (!m_playerScoreText) {
        return;
    }
    m_playerScoreText->setNumber(m_playerPoints);
    if (m_opponentScoreText) {
        m_opponentScoreText->setNumber(m_opponentPoints);
        m_opponentScoreText->setPosition(m_width - m_opponentScoreText->width() - kScoreMargin, kScoreMargin);
    }
    if (m_opponentIndicator) {
        m_opponentIndicator->setPosition(m_width - kMarkerInset, kMarkerInset);
    }
}

// The scorer's marker jumps one pixel diagonally every frame until a second of frames has
// passed, and stays wherever the last jump left it.
void GameScene::shakeIndicators() {
    if (m_shakeTimer < 0) {
        m_shakeTimer += m_frameTime;
        if (m_shakeTimer >= 0) {
            m_shakeTimer = 0;
        }
        jiggle(m_playerIndicator.get());
    } else if (m_shakeTimer > 0) {
        m_shakeTimer -= m_frameTime;
        if (m_shakeTimer <= 0) {
            m_shakeTimer = 0;
        }
        jiggle(m_opponentIndicator.get());
    }
}

void GameScene::reserved() {}

}  // namespace vornel
