// The built-in player's keys reach the window as its own key messages.
#include "shell/AutoplayKeys.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace vornel {
namespace {

using AutoplayKeysTest = test::ShellFixture;

TEST_F(AutoplayKeysTest, PressAndReleaseArePostedAsKeyMessagesWithTheVirtualKey) {
    shell().autoplayKeys().key(38, true);
    shell().autoplayKeys().key(38, false);
    ASSERT_EQ(platform.posted.size(), 2u);
    EXPECT_EQ(platform.posted[0].type, MessageType::KeyDown);
    EXPECT_EQ(platform.posted[0].wParam, 38u);
    EXPECT_EQ(platform.posted[1].type, MessageType::KeyUp);
    EXPECT_EQ(platform.posted[1].wParam, 38u);
}

}  // namespace
}  // namespace vornel
