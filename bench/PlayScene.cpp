// Building the play scene with the game's numbers: camera, world sizes and positions.
#include "PlayScene.h"

#include "GameAssets.h"
#include "sprites/TextSprite.h"

namespace vornel::bench {
namespace {

// The camera and the world widths and heights of the game's scene (GameContent.cpp).
constexpr int32_t kFocalA = 0x2CCA;
constexpr int32_t kFocalB = 480;
constexpr Turn kCameraPitch = 0x666;
constexpr Fixed kCameraY = 0x300000;
constexpr Fixed kCameraZ = -0x600000;
constexpr Fixed kBallWidth = 0x19326;
constexpr Fixed kBatWidth = 0x50000;
constexpr Fixed kNetWidth = 0x20E146;
constexpr int32_t kNetPictureMargin = 10;
constexpr Fixed kTableTopY = 0xC8D4F;
constexpr Fixed kShadowOverTable = 855375;
constexpr Fixed kBatY = 0x128D4F;
constexpr Fixed kBatZ = 0x20E2D0;
constexpr Fixed kHalfSeen = 0x4000;
constexpr int32_t kScoreDigits = 2;
constexpr int32_t kScoreMargin = 4;
constexpr int32_t kMarkerInset = 6;

// Mid-rally: the ball low over the player's half, the player's bat to the left, the
// opponent's far to the right (world units of 0x8000).
constexpr Fixed kUnit = kFixedOne;
constexpr Fixed kBallX = -9 * kUnit;
constexpr Fixed kBallY = 31 * kUnit;
constexpr Fixed kBallZ = -24 * kUnit;
constexpr Fixed kPlayerBatX = -14 * kUnit;
constexpr Fixed kOpponentBatX = 30 * kUnit;
constexpr int32_t kPlayerBatPicture = 10;    // the bat picture the game shows at that x
constexpr int32_t kOpponentBatPicture = 13;
constexpr int32_t kPlayerPoints = 7;
constexpr int32_t kOpponentPoints = 10;

}  // namespace

PlayScene::PlayScene(int32_t width, int32_t height) : m_screen(new Screen()) {
    m_screen->setSize(width, height);
    buildTableView();
    buildTableSprites();
    buildScoreOverlay();
    m_screen->render();
    m_screen->invalidate(0, 0, width, height);
    m_screen->render();
}

PlayScene::~PlayScene() {
    m_screen->clear();
    m_view->clear();
}

bool PlayScene::isReady() const {
    return !m_screen->m_buffer.isEmpty() && m_view->m_width > 0 && m_ball->m_width > 0 && m_playerBat->m_width > 0;
}

void PlayScene::buildTableView() {
    const Ref<PictureBank>& bank = GameAssets::instance().bank();
    m_view = new TableWorld();
    m_view->setPicture(bank, GameAssets::kTablePicture);
    m_view->fitTo(*m_screen);
    m_view->setFocal(kFocalA, kFocalB);
    m_view->setPitch(kCameraPitch);
    m_view->setPos(0, kCameraY, kCameraZ);
    m_screen->add(m_view);
}

Ref<Psprite> PlayScene::worldSprite(int32_t picture, Fixed worldWidth, Fixed x, Fixed y, Fixed z) {
    Ref<Psprite> sprite = new Psprite();
    sprite->setPicture(GameAssets::instance().bank(), picture);
    sprite->setScale(sprite->width() > 0 ? worldWidth / sprite->width() : kFixedOne);
    sprite->setPos(x, y, z);
    m_view->add(sprite);
    return sprite;
}

// In the game's order: ball, shadow, opponent's bat, net, player's bat.
void PlayScene::buildTableSprites() {
    m_ball = worldSprite(GameAssets::kBallPicture, kBallWidth, kBallX, kBallY, kBallZ);
    m_shadow = worldSprite(GameAssets::kShadowPicture, kBallWidth, kBallX, kShadowOverTable, kBallZ);
    m_opponentBat = worldSprite(kOpponentBatPicture, kBatWidth, kOpponentBatX, kBatY, kBatZ);
    Ref<Psprite> net = new Psprite();
    net->setPicture(GameAssets::instance().bank(), GameAssets::kNetPicture);
    net->setScale(net->width() > kNetPictureMargin ? kNetWidth / (net->width() - kNetPictureMargin) : kFixedOne);
    net->setPos(0, kTableTopY, 0);
    m_view->add(net);
    m_playerBat = worldSprite(kPlayerBatPicture, kBatWidth, kPlayerBatX, kBatY, -kBatZ);
    m_playerBat->setOpacity(kHalfSeen);
}

// Scores in the top corners with their markers, laid out as the game's relayout does.
void PlayScene::buildScoreOverlay() {
    const Ref<PictureBank>& bank = GameAssets::instance().bank();
    const int32_t width = m_screen->width();
    Ref<TextSprite> playerText = new TextSprite();
    playerText->setFieldSize(kScoreDigits);
    playerText->setNumber(kPlayerPoints);
    playerText->setPosition(kScoreMargin, kScoreMargin);
    Ref<Psprite> playerMarker = new Psprite();
    playerMarker->setPicture(bank, GameAssets::kScoreMarkerPicture);
    playerMarker->setPosition(kMarkerInset, kMarkerInset);
    Ref<TextSprite> opponentText = new TextSprite();
    opponentText->setFieldSize(kScoreDigits);
    opponentText->setNumber(kOpponentPoints);
    opponentText->setPosition(width - opponentText->width() - kScoreMargin, kScoreMargin);
    Ref<Psprite> opponentMarker = new Psprite();
    opponentMarker->setPicture(bank, GameAssets::kScoreMarkerPicture);
    opponentMarker->setPosition(width - kMarkerInset, kMarkerInset);
    m_screen->add(playerMarker);
    m_screen->add(playerText);
    m_screen->add(opponentMarker);
    m_screen->add(opponentText);
}

void PlayScene::nudge(Fixed ballStep, Fixed batStep) {
    m_ball->m_posX += ballStep;
    m_shadow->m_posX += ballStep;
    m_playerBat->m_posX += batStep;
    m_opponentBat->m_posX += batStep;
}

}  // namespace vornel::bench
