// The help screen with its scrolling column and markers, the about panel, and the wait for
// the player to dismiss a panel.
#include <algorithm>

#include "core/String.h"
#include "core/Version.h"
#include "game/GameScene.h"
#include "game/PanelStyle.h"
#include "sprites/GameKey.h"
#include "sprites/Font.h"

namespace vornel {

using namespace panel;

namespace {

constexpr int32_t kHelpWrapWidth = 228;  // pixels; narrower screens wrap 12 pixels inside their width
constexpr int32_t kHelpMargin = 12;      // the column's room right of the text, where the markers sit
constexpr int32_t kCloseMarkerY = 6;
constexpr int32_t kUpMarkerY = 64;
constexpr int32_t kDownMarkerInset = 10;  // the down marker's place above the screen's bottom
// The band around the markers that a tap must land in: 24 pixels left of their x, 32 right,
// 24 below each marker, and 6 above the close marker.
constexpr int32_t kTapBandLeft = 24;
constexpr int32_t kTapBandRight = 32;
constexpr int32_t kTapBelow = 24;
constexpr int32_t kTapAboveDown = 24;
constexpr int32_t kTapAboveClose = 6;

constexpr Fixed kAboutDepth = -2 * kFixedOne;  // in front of the menu it opens from
constexpr int32_t kAboutWidth = 128;
constexpr const char* kAboutLines[] = {kNameAndVersion, "Copyright 2026", "The Vornel authors", "All rights reserved."};

constexpr int32_t kDismissGraceMs = 500;  // keys pressed this early still wait in the queue
constexpr int32_t kDismissPollMs = 125;

int32_t toPixels(Fixed value) { return value >> kFixedShift; }

bool isScrollUp(int32_t key) { return key == GameKey::kUp || key == GameKey::kDigit2; }
bool isScrollDown(int32_t key) { return key == GameKey::kDown || key == GameKey::kDigit8; }

// Shows the marker (adds it to the screen) or hides it.
void showMarker(Screen& screen, const Ref<Psprite>& marker, bool shown) {
    if (!shown) {
        marker->removeFromParent();
    } else if (!marker->hasParent()) {
        screen.add(marker);
    }
}

Ref<Psprite> makeMarker(const Ref<PictureBank>& bank, int32_t picture, int32_t x, int32_t y) {
    Ref<Psprite> marker = new Psprite();
    marker->setPicture(bank, picture);
    marker->setPosition(x, y);
    return marker;
}

}  // namespace

// ---- Help ----

struct GameScene::HelpColumn {
    Ref<TextSprite> text;
    Ref<Psprite> close;
    Ref<Psprite> up;
    Ref<Psprite> down;
    int32_t markerX = 0;
    Fixed offset = 0;  // the column's y: 0 at the top, negative once scrolled down
};

void GameScene::showHelp() {
    input().clearDragY();
    const int32_t wrap = m_width < kHelpWrapWidth ? m_width - kHelpMargin : kHelpWrapWidth;
    HelpColumn help;
    help.text = new TextSprite();
    help.text->setColor(kPanelColor);
    help.text->setSize(wrap, 0);
    help.text->loadText(*String::fromLiteral("help.txt"));
    help.text->setSize(wrap + kHelpMargin, help.text->height());
    addCentred(help.text);
    help.markerX = toPixels(help.text->x()) + wrap;
    help.close = makeMarker(m_bank, kCloseMarkerPicture, help.markerX, kCloseMarkerY);
    help.up = makeMarker(m_bank, kUpMarkerPicture, help.markerX, kUpMarkerY);
    help.down = makeMarker(m_bank, kDownMarkerPicture, help.markerX, m_height - kDownMarkerInset);
    add(help.close);
    moveHelpColumn(help);

    const Ref<Font> font = TextSprite::defaultFont();
    const int32_t lineHeight = font && font->lineHeight() > 0 ? font->lineHeight() : 1;
    const Fixed pageStep = (m_height / lineHeight - 1) * lineHeight * kFixedOne;
    beginAutoplayModal();
    while (isActive()) {
        if (checkSize()) {
            break;
        }
        showMarker(*this, help.up, help.offset < 0);
        showMarker(*this, help.down, helpBottomBelowScreen(help));
        wipeRows();
        pace(kFramePeriodMs);
        autoplayPanel();
        const int32_t key = helpKey(help, nextKey());
        if (isScrollUp(key)) {
            if (help.offset < 0) {
                help.offset = std::min(help.offset + pageStep, Fixed{0});
            }
            moveHelpColumn(help);
        } else if (isScrollDown(key)) {
            if (helpBottomBelowScreen(help)) {
                help.offset -= pageStep;
            }
            moveHelpColumn(help);
        } else if (const int32_t drag = input().takeDragY(); drag != 0) {
            dragHelpColumn(help, drag);
        } else if (key != GameKey::kNone) {
            break;
        }
    }
    remove(help.text);
    help.close->removeFromParent();
    help.up->removeFromParent();
    help.down->removeFromParent();
}

bool GameScene::helpBottomBelowScreen(const HelpColumn& help) const {
    return help.text->m_height + toPixels(help.offset) > m_height;
}

void GameScene::moveHelpColumn(HelpColumn& help) {
    help.text->setPositionFixed((m_width - help.text->m_width) / 2 * kFixedOne, help.offset);
}

// The text follows the pen, but never further down than its top position nor further up
// than where its bottom meets the screen's bottom. A text shorter than the screen stays put.
void GameScene::dragHelpColumn(HelpColumn& help, int32_t distance) {
    const Fixed highest = std::min(Fixed{0}, (m_height - help.text->m_height) * kFixedOne);
    help.offset += distance * kFixedOne;
    if (help.offset > 0) {
        help.offset = 0;
    } else if (help.offset < highest) {
        help.offset = highest;
    }
    moveHelpColumn(help);
    input().clearDragX();
}

// A tap counts only near the markers: on the up marker it scrolls up, on the down marker
// down, on the close marker it closes; anywhere else it does nothing.
int32_t GameScene::helpKey(const HelpColumn& help, int32_t key) {
    if (input().stylusX() == 0) {
        return key;
    }
    if (key == GameKey::kConfirm) {
        key = helpTap(help, input().stylusX(), input().stylusY());
    }
    input().releaseStylus();
    if (key != GameKey::kNone) {
        input().clearDragY();
    }
    return key;
}

int32_t GameScene::helpTap(const HelpColumn& help, int32_t x, int32_t y) const {
    if (x <= help.markerX - kTapBandLeft || x >= help.markerX + kTapBandRight) {
        return GameKey::kNone;
    }
    if (help.up->hasParent() && help.up->m_top <= y && y < help.up->m_bottom + kTapBelow) {
        return GameKey::kUp;
    }
    if (help.down->hasParent() && help.down->m_top - kTapAboveDown <= y && y < help.down->m_bottom + kTapBelow) {
        return GameKey::kDown;
    }
    if (help.close->m_top - kTapAboveClose <= y && y < help.close->m_bottom + kTapBelow) {
        return GameKey::kConfirm;
    }
    return GameKey::kNone;
}

// ---- About ----

void GameScene::showAbout() {
    Ref<Psprite> panel = new Psprite();
    panel->setDepth(kAboutDepth);
    panel->setColor(kPanelColor);
    panel->setSize(kAboutWidth, 0);
    for (const char* line : kAboutLines) {
        panel->addTextCentred(String::fromLiteral(line));
    }
    addCentred(panel);
    fadeIn(panel);
    waitForDismiss();
    fadeOut(panel);
    panel->removeFromParent();
    panel->removeAll();
}

// ---- Dismissing a panel ----

// Arrows never dismiss; the action key, a tap, the soft keys, back, digits and letters do.
void GameScene::waitForDismiss() {
    render();
    pace(kDismissGraceMs);
    input().clearStylus();
    beginAutoplayModal();
    while (isActive()) {
        if (checkSize()) {
            return;
        }
        pace(kDismissPollMs);
        autoplayPanel();
        if (nextKey() > GameKey::kLastArrow) {
            return;
        }
    }
}

}  // namespace vornel
