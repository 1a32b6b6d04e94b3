// What the window hands the game: held keys, a short queue of key presses, the pen's
// position and drag, and the pause of a window in the background.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "demo/InputTape.h"
#include "sprites/GameKey.h"

namespace vornel {

// Threading contract: one writer, the window thread, and one reader, the game thread.
// Nothing is locked. The writer calls only the window-thread operations below; the reader
// calls only the game-thread operations, and takes every value it uses from the window
// through them. The reader's own writes are confined to consuming what it read: the queue's
// read index, and clearing the pen position and the drag it has used up.
// The held bits are read-modify-written by the writer only (relaxed order is enough); the
// queue is a single-producer single-consumer ring whose slots are published by the release
// store of the write index and handed back by the release store of the read index.
class InputQueue final {
public:
    static constexpr int32_t kSlots = 10;                         // one stays free: 9 presses fit
    static constexpr int32_t kHighestHeldKey = GameKey::kDigit9;  // codes 0..57 have a held bit

    InputQueue() = default;
    InputQueue(const InputQueue&) = delete;
    InputQueue& operator=(const InputQueue&) = delete;

    // ---- Window thread (the writer) ----
    // Marks the key held (codes 0..57 only) and queues the press.
    void keyDown(int32_t code);
    // Clears the held bit; nothing is queued.
    void keyUp(int32_t code);
    // Puts a press in the queue. A confirm while a direction (or 0) is held is swallowed, so
    // a pen tap during a move does not also confirm; a full queue drops the press.
    void queueKey(int32_t code);
    // Where the pen is, game pixels; x 0 tells the game the pen is not in use.
    void setStylus(int32_t x, int32_t y);
    // Adds a pen movement, game pixels, to the drag the game has not used yet.
    void addDrag(int32_t dx, int32_t dy);
    // Set while the window is in the background: the game waits in its frame pacing.
    void setPaused(bool paused);

    // From now on every value the game thread reads goes through the tape (recorded, or
    // replaced by the recorded one); null for none. Set before the game thread starts.
    void setTape(InputTape* tape) { m_tape = tape; }

    // ---- Game thread (the reader) ----
    // The oldest queued press (a signed byte, widened), or 0 when none waits.
    int32_t nextKey();
    // The key's held bit for codes 0..57; false for all other codes.
    bool isKeyDown(int32_t code) const;
    // Whether the press is that key, or that key is held.
    bool keyMatches(int32_t code, int32_t key) const;
    int32_t stylusX() const;
    int32_t stylusY() const;
    bool isPaused() const;
    // The drag not used yet, pixels.
    int32_t dragX() const;
    int32_t dragY() const;
    // The pen lets go: x 0 until the window reports the pen again.
    void releaseStylus();
    // Forgets the whole pen position.
    void clearStylus();
    void clearDragX();
    void clearDragY();
    // The vertical drag not used yet, which is then used up.
    int32_t takeDragY();

private:
    static int32_t nextSlot(int32_t slot);
    static bool hasHeldBit(int32_t code);
    // The value read, through the tape when there is one.
    int32_t taped(uint8_t kind, int32_t live) const { return m_tape != nullptr ? m_tape->pass(kind, live) : live; }

    std::atomic<int32_t> m_dragX{0};  // pen drag accumulators, pixels
    std::atomic<int32_t> m_dragY{0};
    std::array<std::atomic<uint32_t>, 2> m_keys{};  // held bit of code k: bit k & 31 of word k >> 5
    std::array<std::atomic<int8_t>, kSlots> m_queue{};  // ring of presses not yet read
    std::atomic<int32_t> m_queueRead{0};   // written by the reader only
    std::atomic<int32_t> m_queueWrite{0};  // written by the writer only; equal: empty
    std::atomic<bool> m_paused{false};     // set while the window is in the background
    std::atomic<int32_t> m_stylusX{0};     // last pen position, pixels; x 0: pen not in use
    std::atomic<int32_t> m_stylusY{0};
    InputTape* m_tape = nullptr;  // set before the game thread starts, used by it alone
};

}  // namespace vornel
