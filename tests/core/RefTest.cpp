// Counted handles: taking, releasing, assigning, and when objects die.
#include "core/Ref.h"

#include <gtest/gtest.h>

#include <string>

#include "FakeHeap.h"
#include "LoggingObject.h"

namespace vornel {
namespace {

using test::LoggingObject;

TEST(Ref, ANewObjectStartsAtZeroAndTheFirstHandleTakesIt) {
    std::string log;
    auto* object = new LoggingObject(&log, 'a');
    EXPECT_EQ(object->referenceCount(), 0);
    {
        Ref<LoggingObject> handle = object;
        EXPECT_EQ(object->referenceCount(), 1);
        Ref<LoggingObject> copy = handle;
        EXPECT_EQ(object->referenceCount(), 2);
    }
    EXPECT_EQ(log, "~a");
}

TEST(Ref, TheLastReleaseDestroysAndFreesTheObject) {
    test::FakeHeap heap;
    std::string log;
    Ref<LoggingObject> first = new LoggingObject(&log, 'a');
    Ref<LoggingObject> second = first;
    EXPECT_EQ(heap.liveBlocks, 1);

    first = nullptr;
    EXPECT_EQ(log, "");
    second = nullptr;

    EXPECT_EQ(log, "~a");
    EXPECT_EQ(heap.liveBlocks, 0);
}

TEST(Ref, SelfAssignmentKeepsTheObjectAlive) {
    std::string log;
    Ref<LoggingObject> handle = new LoggingObject(&log, 'a');
    Ref<LoggingObject>& alias = handle;

    handle = alias;
    handle = handle.get();

    EXPECT_EQ(log, "");
    EXPECT_EQ(handle->referenceCount(), 1);
}

TEST(Ref, AssigningTakesTheNewObjectAndReleasesTheOld) {
    std::string log;
    Ref<LoggingObject> handle = new LoggingObject(&log, 'a');
    Ref<LoggingObject> other = new LoggingObject(&log, 'b');

    handle = other;

    EXPECT_EQ(log, "~a");
    EXPECT_EQ(other->referenceCount(), 2);
}

TEST(Ref, MovingHandsTheReferenceOverWithoutCounting) {
    std::string log;
    Ref<LoggingObject> source = new LoggingObject(&log, 'a');
    Ref<Object> target = std::move(source);

    EXPECT_FALSE(source);
    EXPECT_EQ(target->referenceCount(), 1);
    target = nullptr;
    EXPECT_EQ(log, "~a");
}

TEST(Ref, NullHandlesTakeAndReleaseNothing) {
    Ref<LoggingObject> empty;
    Ref<LoggingObject> copy = empty;
    copy = empty;
    EXPECT_FALSE(copy);
    EXPECT_TRUE(copy == nullptr);
}

TEST(Object, DestroyWithoutTheFreeFlagRunsDestructorsButKeepsTheMemory) {
    test::FakeHeap heap;
    std::string log;
    auto* object = new LoggingObject(&log, 'a');

    object->destroy(0);
    EXPECT_EQ(log, "~a");
    EXPECT_EQ(heap.liveBlocks, 1);

    Object::operator delete(object);
    EXPECT_EQ(heap.liveBlocks, 0);
}

}  // namespace
}  // namespace vornel
