// Controller buttons held down, told as the key messages a keyboard would send: a key-down
// when a button is pressed, key-downs repeated while the last pressed one stays down, a
// key-up when it is let go, and key-ups for whatever is still down when its controller is
// unplugged or the window loses focus, so that no key is left held in the game. Back and the
// soft keys (VirtualKey::sendsOnlyKeyUp) reach the game only as their key-up, which it takes as
// a press: they do not repeat, they leave a held arrow repeating, and they are not pressed by
// being let go of when the controller goes away or the window loses focus.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vornel {

class ControllerKeys final {
public:
    // Controllers do not repeat by themselves; these follow a desktop keyboard's usual pace.
    static constexpr uint32_t kRepeatDelayMs = 500;
    static constexpr uint32_t kRepeatIntervalMs = 40;

    struct KeyChange {
        int32_t virtualKey = 0;
        bool down = false;
        bool operator==(const KeyChange&) const = default;
    };
    using KeyChanges = std::vector<KeyChange>;

    // controller: the controller's instance id; button: its button number; nowMs: a
    // millisecond clock that may wrap. A key held by two buttons goes up with the last one.
    KeyChanges press(int32_t controller, int32_t button, int32_t virtualKey, uint32_t nowMs);
    // A button that is not held (let go already when focus was lost) changes nothing.
    KeyChanges release(int32_t controller, int32_t button);
    KeyChanges releaseController(int32_t controller);
    KeyChanges releaseAll();
    bool isHeld(int32_t controller, int32_t button) const;

    // The repeats due by now: at most one, however long the caller was away, as a keyboard
    // does not send a burst after a stall either.
    KeyChanges repeatsDue(uint32_t nowMs);
    // How long until the next repeat is due (0: it is due), or -1 while nothing repeats.
    int32_t msUntilRepeat(uint32_t nowMs) const;

private:
    struct Hold {
        int32_t controller = 0;
        int32_t button = 0;
        int32_t virtualKey = 0;
    };

    // forced: let go of because the controller or the focus went, not by the player.
    template <typename Matches>
    KeyChanges releaseWhere(Matches matches, bool forced);
    bool isKeyHeld(int32_t virtualKey) const;

    std::vector<Hold> m_holds;
    std::optional<Hold> m_repeating;  // the last button pressed, while it stays down
    uint32_t m_nextRepeatMs = 0;
};

}  // namespace vornel
