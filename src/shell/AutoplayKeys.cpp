// Posting the built-in player's keys as window messages.
#include "shell/AutoplayKeys.h"

#include "platform/Platform.h"
#include "platform/WindowMessage.h"

namespace vornel {

// Never destroyed: the game thread may still press a key while the process exits.
AutoplayKeys& AutoplayKeys::instance() {
    static AutoplayKeys* const keys = new AutoplayKeys();
    return *keys;
}

void AutoplayKeys::key(int32_t virtualKey, bool down) {
    WindowMessage message;
    message.type = down ? MessageType::KeyDown : MessageType::KeyUp;
    message.wParam = static_cast<uint32_t>(virtualKey);
    Platform::current().postMessage(message);
}

}  // namespace vornel
