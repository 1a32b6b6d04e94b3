// The zeroing allocation: retry after a reclaim, and giving up.
#include "core/Allocator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "FakeHeap.h"

namespace vornel {
namespace {

// A stand-in for the picture cache: runs a chosen action for every reclaim request.
class FakeReclaimTarget final : public Allocator::ReclaimTarget {
public:
    explicit FakeReclaimTarget(std::function<int32_t(int32_t)> action) : m_action(std::move(action)) {
        Allocator::setReclaimTarget(this);
    }
    ~FakeReclaimTarget() { Allocator::setReclaimTarget(nullptr); }

    int32_t reclaim(int32_t bytes) override {
        ++calls;
        lastRequest = bytes;
        return m_action(bytes);
    }

    int calls = 0;
    int32_t lastRequest = 0;

private:
    std::function<int32_t(int32_t)> m_action;
};

TEST(Allocator, BlocksComeZeroedFromTheSystemHeap) {
    auto* block = static_cast<unsigned char*>(Allocator::allocate(64));
    ASSERT_NE(block, nullptr);
    const unsigned char zeros[64] = {};
    EXPECT_EQ(std::memcmp(block, zeros, sizeof zeros), 0);
    Allocator::release(block);
}

TEST(Allocator, SucceedsAfterTheReclaimTargetFreesMemory) {
    test::FakeHeap heap;
    heap.exhausted = true;
    FakeReclaimTarget cache([&heap](int32_t) {
        heap.exhausted = false;  // the evicted pictures made room
        return 1;
    });

    void* block = Allocator::allocate(1000);

    ASSERT_NE(block, nullptr);
    EXPECT_EQ(cache.calls, 1);
    EXPECT_EQ(cache.lastRequest, 1000);
    EXPECT_EQ(heap.attempts, 2);
    Allocator::release(block);
}

TEST(Allocator, KeepsRetryingWhileReclaimsFreeSomething) {
    test::FakeHeap heap;
    heap.refusals = 3;
    FakeReclaimTarget cache([](int32_t) { return 1; });

    void* block = Allocator::allocate(16);

    ASSERT_NE(block, nullptr);
    EXPECT_EQ(cache.calls, 3);
    Allocator::release(block);
}

TEST(Allocator, GivesUpWithoutAnotherAttemptWhenReclaimAnswersZero) {
    test::FakeHeap heap;
    heap.exhausted = true;
    FakeReclaimTarget cache([&heap](int32_t) {
        heap.exhausted = false;  // something was freed, but not enough: the sweep says 0
        return 0;
    });

    EXPECT_EQ(Allocator::allocate(1000), nullptr);
    EXPECT_EQ(cache.calls, 1);
    EXPECT_EQ(heap.attempts, 1);
}

TEST(Allocator, FailsAtOnceWithoutAReclaimTarget) {
    test::FakeHeap heap;
    heap.exhausted = true;
    EXPECT_EQ(Allocator::allocate(8), nullptr);
    EXPECT_EQ(heap.attempts, 1);
}

TEST(Allocator, AReclaimThatAllocatesDoesNotReclaimAgain) {
    test::FakeHeap heap;
    heap.exhausted = true;
    void* inner = reinterpret_cast<void*>(1);
    FakeReclaimTarget cache([&inner](int32_t) {
        inner = Allocator::allocate(8);
        return 0;
    });

    EXPECT_EQ(Allocator::allocate(8), nullptr);
    EXPECT_EQ(inner, nullptr);
    EXPECT_EQ(cache.calls, 1);
}

TEST(Allocator, HugeRequestsAskForTheLargestReclaim) {
    test::FakeHeap heap;
    heap.exhausted = true;
    FakeReclaimTarget cache([](int32_t) { return 0; });
    EXPECT_EQ(Allocator::allocate(std::size_t{1} << 40), nullptr);
    EXPECT_EQ(cache.lastRequest, INT32_MAX);
}

TEST(AllocatorDeathTest, ObjectsThatCannotBeAllocatedEndTheProcessWithAMessage) {
    EXPECT_EXIT(
        {
            test::FakeHeap heap;
            heap.exhausted = true;
            Allocator::allocateOrExit(32);
        },
        testing::ExitedWithCode(1), "out of memory \\(32 bytes\\)");
}

}  // namespace
}  // namespace vornel
