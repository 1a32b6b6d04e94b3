// The demonstration shown until the game itself arrives: a gradient, a line of help text and
// a ball that the arrows, the keypad and the pen move; the confirm key plays a sound. It
// exercises the whole shell: input, frames, presentation, rotation and sound.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/Fixed.h"
#include "core/Ref.h"
#include "shell/DemoBall.h"
#include "shell/DemoPlayer.h"
#include "sprites/Screen.h"
#include "sprites/TextSprite.h"

namespace vornel {

class DemoScreen : public Screen {
public:
    static constexpr int32_t kBallDiameter = 20;   // pixels
    static constexpr int32_t kBallSpeed = 100;     // pixels per second while a key is held
    static constexpr int32_t kLongestStepMs = 120;  // a longer frame moves the ball no further
    static constexpr int32_t kMargin = 4;          // pixels around the text
    static constexpr uint32_t kTopColor = 0xFF20407A;
    static constexpr uint32_t kBottomColor = 0xFF081020;
    static constexpr const char* kCaption = "Vornel: arrows, keypad or pen move the ball; Enter plays a sound";
    static constexpr const char* kConfirmSound = "bounce";

    // A new demonstration, with the built-in player when the launcher was asked for it.
    static Ref<Screen> make();

    DemoScreen();

    // Window thread: records the wanted size. The first size is applied at once; later ones
    // the game thread applies at the start of its next frame, so the window thread never
    // replaces the buffer while the game draws.
    void setSize(int32_t width, int32_t height) override;
    // Until the window's message loop has ended.
    bool isActive() override;
    // The game thread's body: one update and frame after another.
    void run() override;

    // One frame's work before drawing: the size check, key presses, the pen, held keys and
    // the built-in player; then the ball is placed.
    void update();
    // Gives the screen the wanted size when it differs, and lays the scene out again.
    // Answers whether it resized.
    bool applyWantedSize();

    // The ball's centre, pixels.
    int32_t ballX() const { return fromFixed(m_ballX); }
    int32_t ballY() const { return fromFixed(m_ballY); }
    const Ref<TextSprite>& caption() const { return m_caption; }

protected:
    ~DemoScreen() override = default;

private:
    // Wraps the text to the width and keeps the ball on the screen.
    void layOut();
    void takeKeyPresses();
    void followPen();
    void moveWithHeldKeys();
    void placeBall();
    // -1, 0 or 1: which of two opposite directions is held (an arrow or a keypad digit).
    int32_t heldAxis(int32_t lessArrow, int32_t lessDigit, int32_t moreArrow, int32_t moreDigit);
    static uint64_t packSize(int32_t width, int32_t height);

    std::atomic<uint64_t> m_wantedSize{0};  // width in the high half, height in the low
    std::atomic<bool> m_hasSize{false};
    Ref<TextSprite> m_caption;
    Ref<DemoBall> m_ball;
    Fixed m_ballX = 0;  // centre of the ball, Fixed pixels
    Fixed m_ballY = 0;
    int32_t m_seenStylusX = 0;  // the pen position the ball last went to
    int32_t m_seenStylusY = 0;
    bool m_autoplay = false;
    DemoPlayer m_player;
};

}  // namespace vornel
