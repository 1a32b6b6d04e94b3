// The one game object: a screen that holds the match (ball, bats, shadow, scores and the
// rally state), runs the scene's set-up, the menus and the frame loop on the game thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/Array.h"
#include "core/Fixed.h"
#include "core/Ref.h"
#include "core/String.h"
#include "sprites/Menu.h"
#include "sprites/Psprite.h"
#include "sprites/Screen.h"
#include "sprites/TableWorld.h"
#include "sprites/TextSprite.h"
#include "sprites/Vector3.h"

namespace vornel {

class Autoplayer;

// Where the built-in player's input goes: the shell posts it as the window's own key
// messages (virtual-key codes), so the game sees exactly what a person's keys would give.
class AutoplayInput {
public:
    virtual ~AutoplayInput() = default;
    virtual void key(int32_t virtualKey, bool down) = 0;
};

class GameScene : public Screen {
public:
    // ---- The rally states ----
    static constexpr int32_t kPointOver = 0;      // the rally timer runs down to the next serve
    static constexpr int32_t kBounced = 1;        // bounced once on the right side: may be struck
    static constexpr int32_t kToReceiver = 2;     // must bounce on the side opposite the striker
    static constexpr int32_t kServePending = 4;   // the ball hangs at the server's end
    static constexpr int32_t kServeInFlight = 5;  // the first bounce must be on the server's side

    // ---- World geometry (Fixed) ----
    static constexpr Fixed kTableHalfWidth = 1077411;
    static constexpr Fixed kTableHalfLength = 1762000;
    static constexpr Fixed kServeHeight = 1215823;

    static constexpr int32_t kMaxPoints = 99;
    static constexpr int32_t kSettingsBytes = 24;
    static constexpr int32_t kFortuneBytes = 15745;

    GameScene() = default;

    // ---- The fortune pick, on the first length bytes of a fortunes file ----
    // How many places a pick can land on (0 to span - 1); 0 when no line after the heading
    // can be shown.
    static int32_t fortunePickSpan(const Array<uint8_t>& text, int32_t length);
    // Where the fortune shown for a random fraction (one of randomFraction's 256 values)
    // starts, or -1 when there is none: the line after the first line feed at or after the
    // place the fraction picks.
    static int32_t fortuneAt(const Array<uint8_t>& text, int32_t length, Fixed fraction);

    // ---- Overrides ----
    // Called by the window thread: records the wanted size; the game thread applies it at the
    // start of its next frame (at once while the screen has no size yet).
    void setSize(int32_t width, int32_t height) override;
    // The game thread's body: set-up, main menu, then the frame loop.
    void run() override;
    // False once the player chose to leave the game, as well as when the window is gone.
    bool isActive() override;

    // ---- The game's own operations, in their fixed order ----
    virtual void showAbout();
    virtual bool floorBounce();
    virtual void updateBall();
    virtual void showHelp();
    virtual void fadeIn(Ref<Psprite> sprite);
    virtual void fadeOut(Ref<Psprite> sprite);
    virtual void showFortune(bool won);
    virtual void startNewGame();
    virtual bool tryHit(Fixed x, Fixed y, Fixed z);
    virtual void setUpContent();
    virtual void updatePlayer();
    virtual void setItemLabel(Ref<Psprite> item, Ref<String> text);
    virtual void styleMenu(Ref<Menu> menu);
    virtual int32_t pollMenuChoice(Ref<Menu> menu);
    virtual int32_t runMainMenu();  // 1 when a new game was started, else 0
    virtual bool isOverTable(Fixed x, Fixed y, Fixed z);
    virtual bool isSpriteOverTable(Ref<Psprite> sprite);
    virtual void placeBat(Ref<Psprite> bat, Fixed x, Fixed z);
    virtual void loadSettings();
    virtual int32_t readWord(int32_t offset);
    virtual void saveSettings();
    virtual void writeWord(int32_t offset, int32_t value);
    virtual void updateOpponent(Ref<Psprite> bat);
    virtual void awardPoint(bool toPlayer);
    virtual void relayout();
    virtual void setUpServe();
    virtual void reserved();  // an operation with no effect, kept for its slot
    virtual void placeShadow(Ref<Psprite> ball, Ref<Psprite> shadow);
    virtual void shakeIndicators();
    virtual void recordHighScore();
    virtual void showHighScores();
    virtual void waitForDismiss();

    // The size check: applies a wanted size that differs from the screen's, refits the view
    // and re-lays the overlay out. Answers whether it resized.
    bool checkSize();

    // Lets the built-in player steer the player's bat through input; called before run.
    void enableAutoplay(AutoplayInput* input);

    // ---- The match (fields in their fixed order) ----
    Ref<Psprite> m_ball;            // its world position is the sprite's m_posX, m_posY, m_posZ
    Ref<Vector3> m_ballVelocity;    // units per second of game time (0x8000 game time = 1 s)
    Ref<Psprite> m_shadow;
    Array<uint8_t> m_fortunes;      // the fortunes file, read once when the first game ends
    int32_t m_fortuneLength = 0;    // bytes of it the file gave
    Ref<Psprite> m_playerIndicator;
    Ref<Psprite> m_opponentIndicator;
    Fixed m_swingX = 0;  // smoothed sideways and forward motion of the player's bat
    Fixed m_swingZ = 0;
    Fixed m_aimX = 0;      // where the opponent waits on level Hard
    Fixed m_batSpeed = 0;  // the player's key-driven bat speed
    int32_t m_hardLevel = 0;
    uint8_t m_penSteering = 0;
    Ref<Psprite> m_playerBat;
    Ref<Psprite> m_opponentBat;
    uint8_t m_serverFlag = 0;  // 1: the last stroke (or the coming serve) is the player's
    Array<uint8_t> m_settings;  // the 24-byte image of the settings file
    int32_t m_playerPoints = 0;
    Ref<TextSprite> m_playerScoreText;
    int32_t m_opponentPoints = 0;
    Ref<TextSprite> m_opponentScoreText;
    int32_t m_shakeTimer = 0;  // ms: negative after a player point, positive after an opponent's
    int32_t m_matchState = kPointOver;
    int32_t m_rallyTimer = 0;  // ms
    Ref<Vector3> m_dragScratch;
    Ref<TableWorld> m_view;
    // The wanted width and height, written together by the window thread as one word (width
    // in the low 16 bits, height in the high 16) so the game thread never sees half a change.
    std::atomic<uint32_t> m_wantedSize{0};

    Autoplayer* m_autoplayer = nullptr;  // the built-in player, when it plays (owned)
    bool m_leaving = false;              // "Exit" was chosen: every loop ends

protected:
    ~GameScene() override;

private:
    struct HelpColumn;

    // ---- The main menu ----
    bool gameInProgress() const;
    Ref<String> soundLabel() const;
    Ref<String> levelLabel() const;
    Ref<Menu> buildMainMenu();
    // Selects the sound item, relabels it from the flag and saves the settings.
    void showSoundChoice(const Ref<Menu>& menu);
    void reopenMenu(const Ref<Menu>& menu);
    void closeMenu(const Ref<Menu>& menu);
    void leaveGame();
    Ref<Psprite> buttonRow(const Ref<Psprite>& item, Fixed spread);

    // ---- The built-in player in menus and panels ----
    void beginAutoplayModal();
    void autoplayPanel();

    // ---- Help ----
    bool helpBottomBelowScreen(const HelpColumn& help) const;
    void moveHelpColumn(HelpColumn& help);
    void dragHelpColumn(HelpColumn& help, int32_t distance);
    // The key as the help screen takes it: a tap becomes up, down, close or nothing.
    int32_t helpKey(const HelpColumn& help, int32_t key);
    int32_t helpTap(const HelpColumn& help, int32_t x, int32_t y) const;

    // ---- High scores and fortunes ----
    Ref<String> highScoreRow(int32_t place);
    Ref<Psprite> makeFortunePanel(bool won);
    void readFortunes();
    // Where the chosen fortune starts in the buffer, or -1 when there is none to show.
    int32_t pickFortune();
    void addFortuneLines(Psprite& panel, int32_t start, int32_t limit);

    // The rally rules for a bounce of the ball at that z, and for the ball running into the
    // net having come from oldZ.
    void rallyBounce(Fixed z);
    void rallyNet(Fixed oldZ);

    // The steps of setUpContent: the bank becomes the screen's; the loading picture is shown
    // (and answered, to be taken away later); the default font; the table view; the sprites
    // of the table scene; the score overlay; the intro of the rising table.
    void openPictureBank();
    void checkSounds();
    Ref<Psprite> showLoadingPicture();
    void loadFont();
    void buildTableView();
    void buildTableSprites();
    // A sprite of that picture scaled to worldWidth (Fixed) across.
    Ref<Psprite> makeWorldSprite(int32_t picture, Fixed worldWidth);
    void buildScoreOverlay();
    void playIntro();

    // The ball's flight, one sub-step of step units of game time: gravity, drag, the move,
    // bounce, strike, net and far wall. False when the ball came to rest on the floor.
    bool advanceBall(Fixed step, Fixed& x, Fixed& y, Fixed& z);
    // The bounce of a ball whose centre reached the surface at level; gravityStep is this
    // sub-step's gain in downward speed. False when the ball came to rest on the floor.
    bool bounceBall(Fixed level, bool onTable, Fixed gravityStep, Fixed& y, Fixed z);
    // Stops a ball that went from z0 to z through the net band: back to z0, rebounding.
    void hitNet(Fixed z0, Fixed y, Fixed& z);
    // The return stroke of a bat at batX striking the ball at depth z: the new velocity,
    // the striker and the next rally state.
    void strike(bool byPlayer, Fixed batX, Fixed z);
    Turn strokeYaw(bool byPlayer, Fixed batX);
    Turn strokePitch(bool byPlayer);
};

}  // namespace vornel
