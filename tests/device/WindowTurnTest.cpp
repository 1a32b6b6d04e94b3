// A paint in the window's turn, on the thread that asks for it, against the window's thread.
#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <utility>
#include <vector>

#include "DeviceTestSupport.h"
#include "backends/headless/HeadlessDevice.h"

namespace vornel {
namespace {

using testing_support::kTinyProfile;
using testing_support::setupIn;

// While the window's thread waits for messages a paint runs at once on the thread that asks;
// with a message ahead of it (queued or being handled) it is handed over and comes after it.
TEST(WindowTurnTest, APaintInTheWindowsTurnRunsOnlyWhileTheWindowWaitsWithNothingAhead) {
    struct HoldingClient final : WindowClient {
        std::promise<void> keyHandled;
        std::promise<void> released;
        std::vector<std::pair<MessageType, std::thread::id>> received;
        int32_t windowMessage(const WindowMessage& message) override {
            received.emplace_back(message.type, std::this_thread::get_id());
            if (message.type == MessageType::KeyDown) {
                keyHandled.set_value();
                released.get_future().wait();
            }
            return 0;
        }
    } client;
    HeadlessDevice device(kTinyProfile, setupIn("/tmp/unused"));
    device.createWindow("Vornel", client);
    client.received.clear();
    EXPECT_FALSE(device.paintInTurn({0, 0, 1, 1}));  // the window's thread is not waiting yet
    std::thread window([&device] {
        WindowMessage next;
        while (device.getMessage(next)) {
            device.dispatchMessage(next);
        }
    });
    const std::thread::id windowThread = window.get_id();
    while (!device.paintInTurn({0, 0, 2, 1})) {
        std::this_thread::yield();
    }
    device.postMessage(messageOf(MessageType::KeyDown, 37));
    EXPECT_FALSE(device.paintInTurn({0, 0, 3, 2}));
    device.invalidateRect({0, 0, 3, 2});
    client.keyHandled.get_future().wait();
    EXPECT_FALSE(device.paintInTurn({0, 0, 3, 2}));  // the key is still being handled
    client.released.set_value();
    device.postQuitMessage(0);
    window.join();
    ASSERT_EQ(client.received.size(), 3u);
    EXPECT_EQ(client.received[0], std::make_pair(MessageType::Paint, std::this_thread::get_id()));
    EXPECT_EQ(client.received[1], std::make_pair(MessageType::KeyDown, windowThread));
    EXPECT_EQ(client.received[2].first, MessageType::Paint);
}

}  // namespace
}  // namespace vornel
