// The play scene as the game sets it up (GameContent.cpp): the table view with the ball, its
// shadow, the opponent's bat, the net and the player's half-seen bat, and the score overlay,
// on a screen of its own, mid-rally.
#pragma once

#include <cstdint>

#include "core/Fixed.h"
#include "core/Ref.h"
#include "sprites/Psprite.h"
#include "sprites/Screen.h"
#include "sprites/TableWorld.h"

namespace vornel::bench {

class PlayScene {
public:
    // Builds the scene on a new screen of that size and repaints it twice: the table view
    // keeps its image on the first repaint and writes the table's depth into it after.
    PlayScene(int32_t width, int32_t height);
    // Empties the tree: parents and children hold each other.
    ~PlayScene();
    PlayScene(const PlayScene&) = delete;
    PlayScene& operator=(const PlayScene&) = delete;

    Screen& screen() { return *m_screen; }
    // Moves the ball with its shadow, and both bats, sideways by the steps (Fixed world units).
    void nudge(Fixed ballStep, Fixed batStep);
    // The screen has its buffer and the bank gave every picture.
    bool isReady() const;

private:
    void buildTableView();
    void buildTableSprites();
    void buildScoreOverlay();
    Ref<Psprite> worldSprite(int32_t picture, Fixed worldWidth, Fixed x, Fixed y, Fixed z);

    Ref<Screen> m_screen;
    Ref<TableWorld> m_view;
    Ref<Psprite> m_ball;
    Ref<Psprite> m_shadow;
    Ref<Psprite> m_opponentBat;
    Ref<Psprite> m_playerBat;
};

}  // namespace vornel::bench
