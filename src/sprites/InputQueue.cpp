// The window's input as the game reads it: held bits, the press ring, pen and pause.
#include "sprites/InputQueue.h"

namespace vornel {
namespace {

constexpr uint32_t kDirectionKeysHeld = 0x1F;  // held bits of codes 0 to 4

}  // namespace

bool InputQueue::hasHeldBit(int32_t code) {
    return code >= 0 && code <= kHighestHeldKey;
}

int32_t InputQueue::nextSlot(int32_t slot) {
    return slot + 1 == kSlots ? 0 : slot + 1;
}

// ---- Window thread ----

void InputQueue::keyDown(int32_t code) {
    if (hasHeldBit(code)) {
        m_keys[code >> 5].fetch_or(1u << (code & 31), std::memory_order_relaxed);
    }
    queueKey(code);
}

void InputQueue::keyUp(int32_t code) {
    if (hasHeldBit(code)) {
        m_keys[code >> 5].fetch_and(~(1u << (code & 31)), std::memory_order_relaxed);
    }
}

void InputQueue::queueKey(int32_t code) {
    if (code == GameKey::kConfirm && (m_keys[0].load(std::memory_order_relaxed) & kDirectionKeysHeld) != 0) {
        return;
    }
    const int32_t write = m_queueWrite.load(std::memory_order_relaxed);
    const int32_t next = nextSlot(write);
    if (next == m_queueRead.load(std::memory_order_acquire)) {
        return;  // full: the press is dropped
    }
    m_queue[write].store(static_cast<int8_t>(code), std::memory_order_relaxed);
    m_queueWrite.store(next, std::memory_order_release);
}

void InputQueue::setStylus(int32_t x, int32_t y) {
    m_stylusX.store(x);
    m_stylusY.store(y);
}

void InputQueue::addDrag(int32_t dx, int32_t dy) {
    m_dragX.fetch_add(dx);
    m_dragY.fetch_add(dy);
}

void InputQueue::setPaused(bool paused) {
    m_paused.store(paused);
}

// ---- Game thread ----

int32_t InputQueue::nextKey() {
    const int32_t read = m_queueRead.load(std::memory_order_relaxed);
    if (read == m_queueWrite.load(std::memory_order_acquire)) {
        return taped(demo::kNextKey, GameKey::kNone);
    }
    const int32_t code = m_queue[read].load(std::memory_order_relaxed);
    m_queueRead.store(nextSlot(read), std::memory_order_release);
    return taped(demo::kNextKey, code);
}

bool InputQueue::isKeyDown(int32_t code) const {
    const bool held = hasHeldBit(code) && (m_keys[code >> 5].load(std::memory_order_relaxed) & (1u << (code & 31))) != 0;
    return taped(demo::kKeyHeld, held ? 1 : 0) != 0;
}

bool InputQueue::keyMatches(int32_t code, int32_t key) const {
    return code == key || isKeyDown(key);
}

int32_t InputQueue::stylusX() const {
    return taped(demo::kStylusX, m_stylusX.load(std::memory_order_relaxed));
}

int32_t InputQueue::stylusY() const {
    return taped(demo::kStylusY, m_stylusY.load(std::memory_order_relaxed));
}

bool InputQueue::isPaused() const {
    return taped(demo::kPaused, m_paused.load(std::memory_order_acquire) ? 1 : 0) != 0;
}

int32_t InputQueue::dragX() const {
    return taped(demo::kDragX, m_dragX.load(std::memory_order_relaxed));
}

int32_t InputQueue::dragY() const {
    return taped(demo::kDragY, m_dragY.load(std::memory_order_relaxed));
}

void InputQueue::releaseStylus() {
    m_stylusX.store(0, std::memory_order_relaxed);
}

void InputQueue::clearStylus() {
    m_stylusX.store(0, std::memory_order_relaxed);
    m_stylusY.store(0, std::memory_order_relaxed);
}

void InputQueue::clearDragX() {
    m_dragX.store(0, std::memory_order_relaxed);
}

void InputQueue::clearDragY() {
    m_dragY.store(0, std::memory_order_relaxed);
}

int32_t InputQueue::takeDragY() {
    return taped(demo::kTakeDragY, m_dragY.exchange(0, std::memory_order_relaxed));
}

}  // namespace vornel
