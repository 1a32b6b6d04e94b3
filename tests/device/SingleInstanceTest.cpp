// One running copy per save folder.
#include "device/SingleInstance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "DeviceTestSupport.h"
#include "backends/headless/HeadlessDevice.h"

namespace vornel {
namespace {

using testing_support::TemporaryFolder;

TEST(SingleInstanceTest, TheSecondCopyFindsTheFirstAndAsksItToRaiseItsWindow) {
    TemporaryFolder folder("instance-same");
    SingleInstance first(folder.path());
    ASSERT_TRUE(first.claim());
    std::promise<void> raised;
    first.listen([&raised] { raised.set_value(); });

    SingleInstance second(folder.path());
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(second.askRunningCopyToRaise());
    // The listener raises before it confirms: the raise has run already.
    EXPECT_EQ(raised.get_future().wait_for(std::chrono::seconds(0)), std::future_status::ready);
}

TEST(SingleInstanceTest, CopiesWithDifferentSaveFoldersNeverMeet) {
    TemporaryFolder one("instance-one");
    TemporaryFolder other("instance-other");
    SingleInstance first(one.path());
    SingleInstance second(other.path());
    EXPECT_TRUE(first.claim());
    EXPECT_TRUE(second.claim());
    EXPECT_NE(SingleInstance::socketNameOf(one.path()), SingleInstance::socketNameOf(other.path()));
}

TEST(SingleInstanceTest, TheFolderIsFreeAgainWhenTheFirstCopyEnds) {
    TemporaryFolder folder("instance-again");
    {
        SingleInstance first(folder.path());
        ASSERT_TRUE(first.claim());
        first.listen([] {});
    }
    SingleInstance second(folder.path());
    EXPECT_TRUE(second.claim());
}

TEST(SingleInstanceTest, TheSameFolderSpelledDifferentlyIsTheSameInstance) {
    TemporaryFolder folder("instance-spelling");
    EXPECT_EQ(SingleInstance::socketNameOf(folder.path()), SingleInstance::socketNameOf(folder.path() + "/."));
    EXPECT_EQ(SingleInstance::socketNameOf(folder.path()), SingleInstance::socketNameOf(folder.path() + "/../" +
                                                                                      std::filesystem::path(folder.path()).filename().string()));
}

TEST(SingleInstanceTest, AFolderThatDoesNotExistYetIsMade) {
    TemporaryFolder folder("instance-made");
    const std::string inner = folder.file("player/saves");
    SingleInstance first(inner);
    EXPECT_TRUE(first.claim());
    EXPECT_TRUE(std::filesystem::exists(inner + "/" + SingleInstance::kLockFileName));
}

TEST(SingleInstanceTest, ASecondDeviceOnTheSameSaveFolderRaisesTheFirstsWindow) {
    TemporaryFolder folder("instance-devices");
    HeadlessDevice first(testing_support::kTinyProfile, testing_support::setupIn(folder.path()));
    HeadlessDevice second(testing_support::kTinyProfile, testing_support::setupIn(folder.path()));
    EXPECT_FALSE(first.findRunningCopy());
    EXPECT_TRUE(second.findRunningCopy());

    // The request is carried out on the first's window thread, here, as its loop runs.
    WindowMessage marker;
    marker.type = MessageType::Destroy;
    first.postMessage(marker);
    WindowMessage next;
    ASSERT_TRUE(first.getMessage(next));
    EXPECT_EQ(next.type, MessageType::Destroy);
    EXPECT_EQ(first.raiseRequests(), 1);
    EXPECT_EQ(second.raiseRequests(), 0);
}

}  // namespace
}  // namespace vornel
