// Whether the handheld's sound is heard. The replay viewer closes the gate at speeds other than
// the recorded one, while paused and while seeking: the wave outputs then play silence in
// place of the game's samples, at the same pace, so that the game and its sound player go on
// exactly as they would, and neither its mute flag nor its settings change.
#pragma once

#include <atomic>

namespace vornel {

class SoundGate final {
public:
    // The gate follows the flag from now on (it must live until the gate follows another);
    // null opens it for good.
    static void follow(const std::atomic<bool>* audible) { s_audible.store(audible); }
    // Any thread, every buffer of every wave output.
    static bool isOpen() {
        const std::atomic<bool>* audible = s_audible.load(std::memory_order_acquire);
        return audible == nullptr || audible->load(std::memory_order_relaxed);
    }

private:
    static inline std::atomic<const std::atomic<bool>*> s_audible{nullptr};
};

}  // namespace vornel
