// The root of a sprite tree: owns the off-screen pixel buffer, collects and repaints dirty
// rectangles, keeps the frame clock, and carries the window's input for the game.
#pragma once

#include <array>
#include <cstdint>

#include "core/Array.h"
#include "core/Fixed.h"
#include "core/FrameHash.h"
#include "core/Rect.h"
#include "core/Ref.h"
#include "core/String.h"
#include "core/SurfaceView.h"
#include "sprites/InputQueue.h"
#include "sprites/Psprite.h"
#include "sprites/ScreenHost.h"

namespace vornel {

// Two threads meet here, only in the input queue: the window thread writes into it (keyDown
// and keyUp here pass on to it) and the game thread reads it; the game thread does
// everything else.
class Screen : public Psprite {
public:
    static constexpr int32_t kMaxDirtyRects = 10;
    static constexpr int32_t kFramePeriodMs = 32;

    Screen() = default;

    // ---- Overrides ----
    // Shows the last repainted image: a row-by-row copy of the buffer, placed at (m_left,
    // m_top) of the surface; opacity is not applied and the children are not drawn again.
    void draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
              int32_t clipRight, int32_t clipBottom, Fixed opacity) override;
    // A nested screen passes the rectangle on; the root records it in the dirty list.
    void invalidate(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    // Lays the tree out, repaints each dirty rectangle into the buffer and presents it.
    void render() override;
    // A new size gets a new buffer, and everything is dirty.
    void setSize(int32_t width, int32_t height) override;
    // Plays the sound once, unless muted.
    void playSound(Ref<String> name) override;

    // ---- The screen's own operations ----
    virtual void releaseBuffer();
    // Connects the display and sound, and starts the frame clock.
    virtual void setHost(Ref<ScreenHost> host);
    // A screen stays active while its window is open (without a host: always); every wait
    // loop of the game tests it, so the game thread ends when the window has gone.
    virtual bool isActive();
    // The key operations below pass on to the input queue (see InputQueue for each).
    virtual void queueKey(int32_t code);
    virtual bool isKeyDown(int32_t code);
    // Window thread.
    virtual void keyDown(int32_t code);
    // Game thread.
    virtual int32_t nextKey();
    virtual bool keyMatches(int32_t code, int32_t key);
    // Window thread.
    virtual void keyUp(int32_t code);
    // The window's input: the window thread writes it, the game thread reads it.
    InputQueue& input() { return m_input; }
    // From now on every value the game thread takes from outside through the screen (input,
    // whether the window is open) goes through the tape, and every frame the screen paces
    // ends a frame of the tape with the hash of the buffer; null for none. Set before the game
    // thread starts.
    void setTape(InputTape* tape);
    // Whether the screen is a pen's (a touch-screen handheld): its menus leave out the keys
    // written in their labels and the game plays the touch layout. Set before the game
    // thread starts.
    void setTouchScreen(bool touchScreen) { m_touchScreen = touchScreen; }
    bool isTouchScreen() const { return m_touchScreen; }
    // The off-screen buffer as a surface (m_width x m_height); empty while there is no whole
    // buffer. Presentation reads the finished pixels through it.
    Surface32 frameBuffer() const;
    // Repaints, then sleeps out the rest of the 32 ms frame.
    virtual void frame();
    // The body of the game thread; the game supplies it.
    virtual void run();
    // As playSound, with the player's repeat argument set.
    virtual void playSoundLoop(Ref<String> name);
    // Whether the sprite's last screen rectangle is non-empty and overlaps the screen.
    virtual bool isOnScreen(Ref<Psprite> sprite);
    // Ends a frame of the given length (ms): waits while paused, sleeps until the frame is
    // due, then measures m_frameTime and marks the new frame.
    virtual void pace(int32_t milliseconds);
    // Repaints the whole screen in 8-pixel stripes, left to right, presenting each.
    virtual void wipeColumns();
    // The same, top to bottom.
    virtual void wipeRows();

    Ref<ScreenHost> m_host;  // while set, repainted rectangles are presented through it
    Array<uint32_t> m_buffer;  // m_width x m_height pixels TT RR GG BB, stride m_width
    bool m_mute = false;       // sounds off
    uint32_t m_lastTick = 0;   // tick count of the last frame mark, ms
    int32_t m_frameTime = 0;   // ms between the last two frame marks
    std::array<int32_t, kMaxDirtyRects * 4> m_dirty{};  // left, top, right, bottom of each
    int32_t m_dirtyCount = 0;  // values in use in m_dirty, a multiple of 4

protected:
    ~Screen() override;
    // The value through the tape when there is one (see setTape).
    int32_t taped(uint8_t kind, int32_t live) { return m_tape != nullptr ? m_tape->pass(kind, live) : live; }

private:
    void recordDirty(const Rect& rect);
    // The dirty rectangle whose values start at index of m_dirty, and storing one there.
    Rect dirtyAt(int32_t index) const;
    void storeDirty(int32_t index, const Rect& rect);
    void removeDirty(int32_t index);
    bool hasBuffer() const;
    // Copies the buffer's part of the clip into the surface at (m_left, m_top).
    void showBufferIn(const Surface32& surface, const Rect& clip) const;
    // Paints the rectangle of the tree into the buffer with the plain sprite drawing.
    void paintIntoBuffer(const Rect& area);
    void present(const Rect& area);
    bool startWipe();
    void wipeStripe(const Rect& stripe);
    // Whether this frame's hash is of what it painted: while a demo of the present format
    // records or plays, or --stats keeps the frames' checksum.
    bool hashesChanges() const;
    // Adds the painted rectangle (inside the buffer) to the frame's hash.
    void noteChange(const Rect& area);
    // The hash the frame ends with: of what it painted, or of every pixel of the buffer for a
    // demo of the first formats; the next frame's hash starts afresh.
    uint32_t takeFrameHash();

    InputQueue m_input;  // keys, pen and pause from the window thread
    InputTape* m_tape = nullptr;  // set before the game thread starts, used by it alone
    uint64_t m_changes = frames::kChangesBasis;  // this frame's paints so far
    bool m_touchScreen = false;
};

}  // namespace vornel
