// Where the built-in player's key presses go: the window's own message queue, as key-down and
// key-up messages with the handheld's virtual-key codes, so the game hears what a person's
// keys would tell it.
#pragma once

#include <cstdint>

#include "game/GameScene.h"
#include "platform/Platform.h"

namespace vornel {

class AutoplayKeys final : public AutoplayInput {
public:
    // The platform must outlive the poster.
    explicit AutoplayKeys(Platform& platform) : m_platform(platform) {}

    // Posts the message to the platform; the first thread maps and delivers it.
    void key(int32_t virtualKey, bool down) override;

private:
    Platform& m_platform;
};

}  // namespace vornel
