// Where the built-in player's key presses go: the window's own message queue, as key-down and
// key-up messages with the handheld's virtual-key codes, so the game hears what a person's
// keys would tell it.
#pragma once

#include <cstdint>

#include "game/GameScene.h"

namespace vornel {

class AutoplayKeys final : public AutoplayInput {
public:
    // The one poster of the process; it lives until the process ends, as the game does.
    static AutoplayKeys& instance();

    // Posts the message to the current platform; the first thread maps and delivers it.
    void key(int32_t virtualKey, bool down) override;
};

}  // namespace vornel
