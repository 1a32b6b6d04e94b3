// The game's content set-up: the picture bank, the loading picture, the font, the table scene
// and the score overlay, the intro in which the table rises into place, and the first game.
#include <algorithm>
#include <string>

#include "core/String.h"
#include "game/GameScene.h"
#include "core/ProgramFolder.h"
#include "media/PictureBank.h"
#include "media/SoundClip.h"
#include "sprites/Font.h"

namespace vornel {

namespace {

// Picture numbers in the bank "app".
constexpr int32_t kLoadingPicture = 0;
constexpr int32_t kTablePicture = 6;
constexpr int32_t kBallPicture = 7;
constexpr int32_t kShadowPicture = 8;
constexpr int32_t kStraightBatPicture = 11;
constexpr int32_t kNetPicture = 14;
constexpr int32_t kScoreMarkerPicture = 15;

// World widths (Fixed units) that the pictures are scaled to.
constexpr Fixed kBallWidth = 0x19326;  // 3.15
constexpr Fixed kBatWidth = 0x50000;   // 10.0
constexpr Fixed kNetWidth = 0x20E146;  // 65.8: the table's full width
constexpr int32_t kNetPictureMargin = 10;  // pixels of the net picture beyond the table's sides

// World positions (Fixed units).
constexpr Fixed kBallStartY = 0x1B8D4F;  // 55.1: high over the net
constexpr Fixed kTableTopY = 0xC8D4F;    // 25.1: the shadow's and the net's foot
constexpr Fixed kBatY = 0x128D4F;        // 37.1
constexpr Fixed kBatZ = 0x20E2D0;        // 65.8 behind the net, on either side
constexpr Fixed kHalfSeen = 0x4000;      // the player's own bat, so the ball shows through it

// The camera: its focal factor, its downward tilt (0.05 of a turn) and where it stands.
constexpr int32_t kFocalA = 0x2CCA;
constexpr int32_t kFocalB = 480;
constexpr Turn kCameraPitch = 0x666;
constexpr Fixed kCameraY = 0x300000;   // 96.0
constexpr Fixed kCameraZ = -0x600000;  // -192.0: behind the player

constexpr int32_t kScoreDigits = 2;
constexpr int32_t kScoreMargin = 4;  // pixels: the player's score at the top left corner
constexpr int32_t kMarkerInset = 6;  // pixels: the player's marker

constexpr uint32_t kTextColor = 0xFFFFFFFF;
constexpr int32_t kAfterLoadingMs = 250;
constexpr int32_t kIntroFrameMs = 66;    // about 15 frames a second
constexpr int32_t kIntroMsPerPixel = 4;  // the table rises 250 pixels a second

// The scale that shows a picture pixels wide at that world width; a picture the bank could
// not give (no width) keeps the scale of 1.0.
Fixed worldScale(Fixed worldWidth, int32_t pixels) {
    return pixels > 0 ? worldWidth / pixels : kFixedOne;
}

}  // namespace

void GameScene::setUpContent() {
    openPictureBank();
    Ref<Psprite> loading = showLoadingPicture();
    checkSounds();
    loadFont();
    m_dragScratch = new Vector3();
    buildTableView();
    buildTableSprites();
    buildScoreOverlay();
    loading->removeFromParent();
    pace(kAfterLoadingMs);
    playIntro();
    add(m_view);
    add(m_playerIndicator);
    add(m_playerScoreText);
    add(m_opponentIndicator);
    add(m_opponentScoreText);
    startNewGame();
    loadSettings();
    m_penSteering = isTouchScreen() ? 1 : 0;  // a pen device starts under stylus control
}

// Sounds load when they are first played; reading each once now names a missing or damaged
// sound file at start rather than in the middle of a game.
void GameScene::checkSounds() {
    for (const char* name : {"bounce", "hit", "gong", "bad", "music5"}) {
        char path[ProgramFolder::kPathBufferSize];
        const std::string fileName = std::string(name) + ".wav";
        if (ProgramFolder::buildPath(ProgramFolder::path(), fileName.c_str(), path)) {
            delete SoundClip::load(path);
        }
    }
}

// Every picture of the scene is drawn through the screen's bank, which also gives memory
// back when the heap runs short.
void GameScene::openPictureBank() {
    Ref<PictureBank> bank = new PictureBank(m_host, *String::fromLiteral("app"));
    bank->becomeReclaimTarget();
    m_bank = bank;
}

// Shown centred while the rest loads, so the screen is not blank; shrunk to fit, never enlarged.
Ref<Psprite> GameScene::showLoadingPicture() {
    Ref<Psprite> loading = new Psprite();
    loading->setPicture(m_bank, kLoadingPicture);
    const int32_t width = loading->width();
    const int32_t height = loading->height();
    if (width > 0 && height > 0) {
        const Fixed fit = std::min(toFixed(m_width) / width, toFixed(m_height) / height);
        if (fit < kFixedOne) {
            loading->setScale(fit);
        }
    }
    addCentred(loading);
    render();
    pace(0);
    return loading;
}

void GameScene::loadFont() {
    TextSprite::setDefaultTextColor(kTextColor);
    Ref<Font> font = new Font();
    font->load(*String::fromLiteral("f15.bin"));  // a missing font leaves the texts empty
    TextSprite::setDefaultFont(font);
}

void GameScene::buildTableView() {
    m_view = new TableWorld();
    m_view->setPicture(m_bank, kTablePicture);
    m_view->fitTo(*this);
    m_view->setFocal(kFocalA, kFocalB);
    m_view->setPitch(kCameraPitch);
    m_view->setPos(0, kCameraY, kCameraZ);
}

// The view sorts its children by depth itself; they join it in this order.
void GameScene::buildTableSprites() {
    m_ball = makeWorldSprite(kBallPicture, kBallWidth);
    m_ball->setPos(0, kBallStartY, 0);
    m_view->add(m_ball);
    m_ballVelocity = new Vector3();

    m_shadow = makeWorldSprite(kShadowPicture, kBallWidth);
    m_shadow->setPos(m_ball->posX(), kTableTopY, m_ball->posZ());
    m_view->add(m_shadow);

    m_opponentBat = makeWorldSprite(kStraightBatPicture, kBatWidth);
    m_opponentBat->setPos(0, kBatY, kBatZ);
    m_view->add(m_opponentBat);

    Ref<Psprite> net = new Psprite();
    net->setPicture(m_bank, kNetPicture);
    net->setScale(worldScale(kNetWidth, net->width() - kNetPictureMargin));
    net->setPos(0, kTableTopY, 0);
    m_view->add(net);

    m_playerBat = makeWorldSprite(kStraightBatPicture, kBatWidth);
    m_playerBat->setPos(0, kBatY, -kBatZ);
    m_playerBat->setOpacity(kHalfSeen);
    m_view->add(m_playerBat);
}

Ref<Psprite> GameScene::makeWorldSprite(int32_t picture, Fixed worldWidth) {
    Ref<Psprite> sprite = new Psprite();
    sprite->setPicture(m_bank, picture);
    sprite->setScale(worldScale(worldWidth, sprite->width()));
    return sprite;
}

// The opponent's text and marker are placed by relayout, against the screen's right edge.
void GameScene::buildScoreOverlay() {
    m_playerScoreText = new TextSprite();
    m_playerScoreText->setFieldSize(kScoreDigits);
    m_playerScoreText->setPosition(kScoreMargin, kScoreMargin);
    m_playerIndicator = new Psprite();
    m_playerIndicator->setPicture(m_bank, kScoreMarkerPicture);
    m_playerIndicator->setPosition(kMarkerInset, kMarkerInset);
    m_opponentScoreText = new TextSprite();
    m_opponentScoreText->setFieldSize(kScoreDigits);
    m_opponentIndicator = new Psprite();
    m_opponentIndicator->setPicture(m_bank, kScoreMarkerPicture);
}

// The table picture with the net on it fades in with its top at the screen's top, then
// rises to where the table view stands. A new screen size ends it at once: the view is
// then shown in its place for the new size.
void GameScene::playIntro() {
    Ref<Psprite> intro = new Psprite();
    intro->setPicture(m_bank, kTablePicture);
    intro->setScale(m_view->scale());
    Ref<Psprite> net = new Psprite();
    net->setPicture(m_bank, kNetPicture);
    intro->add(net);
    add(intro);
    const int32_t target = fromFixed(m_view->y());
    auto current = static_cast<int32_t>((static_cast<int64_t>(m_view->scale()) * intro->m_anchorY) >> kFixedShift);
    intro->setPosition(m_width / 2, current);
    fadeIn(intro);
    while (current > target && isActive()) {
        if (checkSize()) {
            break;
        }
        intro->setPosition(m_width / 2, current);
        current -= m_frameTime / kIntroMsPerPixel;
        render();
        pace(kIntroFrameMs);
    }
    intro->removeFromParent();
    net->removeFromParent();  // the picture and its net hold each other
}

}  // namespace vornel
