// Posting the built-in player's keys as window messages.
#include "shell/AutoplayKeys.h"

#include "platform/WindowMessage.h"

namespace vornel {

void AutoplayKeys::key(int32_t virtualKey, bool down) {
    WindowMessage message;
    message.type = down ? MessageType::KeyDown : MessageType::KeyUp;
    message.wParam = static_cast<uint32_t>(virtualKey);
    m_platform.postMessage(message);
}

}  // namespace vornel
