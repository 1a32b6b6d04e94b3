// The built-in player of --autoplay: it watches the ball and holds the arrow keys that bring
// the player's bat to it, through the same key input a person uses; it never moves the bat.
#pragma once

#include <array>
#include <cstdint>

#include "core/Fixed.h"
#include "game/BallForecast.h"

namespace vornel {

class AutoplayInput;
class GameScene;

class Autoplayer final {
public:
    // Virtual-key codes of the arrows, as the window receives them.
    static constexpr int32_t kLeftArrow = 37;
    static constexpr int32_t kUpArrow = 38;
    static constexpr int32_t kRightArrow = 39;
    static constexpr int32_t kDownArrow = 40;
    static constexpr int32_t kEnter = 13;  // the action key
    // How long it looks at a menu or panel before it acts, as a person reads it first (device
    // time); and between its own steps through a menu.
    static constexpr int32_t kReadingMs = 1500;
    static constexpr int32_t kMenuStepMs = 250;

    // The input must outlive the player: letting go of the keys at the end goes through it.
    Autoplayer(GameScene& scene, AutoplayInput& input);
    ~Autoplayer();
    Autoplayer(const Autoplayer&) = delete;
    Autoplayer& operator=(const Autoplayer&) = delete;

    // Once per frame on the game thread, before the player's bat moves: decides which arrows
    // to hold for this frame.
    void frame();
    // Lets go of every arrow it holds.
    void stop();

    // ---- Menus and panels ----
    // A menu or panel has opened: the arrows are let go and the reading pause begins.
    void beginModal();
    // Once per pass of the main menu's loop, with the key of the selected item: after the
    // pause it moves the selection up to "Resume" or "New Game" and chooses it. Someone
    // else moving the selection starts the pause again.
    void menuFrame(int32_t selectedKey);
    // Once per pass of a panel's loop: after the pause it dismisses the panel.
    void panelFrame();

private:
    // Where the bat should be: x across and z along the table (Fixed).
    struct Spot {
        Fixed x;
        Fixed z;
    };

    Spot chooseSpot();
    Spot serveSpot() const;
    Spot meetingSpot();
    // The point among the forecast's samples, or -1 when there is none.
    int32_t bestSample() const;
    // The bat's travel in frames to come: each frame ramps the key speed as the game does.
    Fixed reachIn(int32_t frames) const;
    Fixed nextStep() const;
    Fixed gameTimePerFrame() const;
    int32_t frameMs() const;
    void steerAcross(Fixed targetX);
    void steerAlong(Fixed targetZ);
    // Holds or lets go of the arrow; the input hears only changes, as from a person's keys.
    // Only one arrow goes down a frame: the game reads one press a frame, and a person
    // cannot press faster either.
    void hold(int32_t virtualKey, bool held);
    // A press of a key it lets go of at its next call; true when it let one go now.
    void press(int32_t virtualKey);
    bool releasePress();
    bool pauseOver();

    GameScene& m_scene;
    AutoplayInput& m_input;
    BallForecast m_forecast;
    std::array<bool, 4> m_held{};  // left, up, right, down: virtual keys 37 to 40
    bool m_pressedThisFrame = false;
    // The meeting point last chosen for the ball on its way: a ball at the edge of the bat's
    // reach may drop out of one frame's forecast and come back in the next.
    Spot m_lastMeeting{0, 0};
    bool m_hasLastMeeting = false;

    int32_t m_pressedKey = 0;     // a key pressed in a menu or panel, let go at the next call
    int32_t m_pauseMs = 0;        // left of the pause before the next step in a menu or panel
    int32_t m_seenSelection = -1;  // the menu selection at the last step
    bool m_ownStep = false;        // the last change of selection was its own
};

}  // namespace vornel
