// Shared arrays and arrays of handles: sharing, freeing and sizes that cannot be had.
#include "core/Array.h"
#include "core/RefArray.h"

#include <gtest/gtest.h>

#include <string>

#include "FakeHeap.h"
#include "LoggingObject.h"

namespace vornel {
namespace {

TEST(Array, AllocationGivesZeroedElementsWithOneShare) {
    Array<int32_t> array = allocInt(5);
    ASSERT_EQ(array.length(), 5);
    EXPECT_EQ(array.shareCount(), 1);
    for (int32_t i = 0; i < array.length(); ++i) {
        EXPECT_EQ(array[i], 0);
    }
}

TEST(Array, ZeroLengthIsTheEmptyArrayAndOwnsNothing) {
    test::FakeHeap heap;
    Array<int32_t> array = allocInt(0);
    EXPECT_TRUE(array.isEmpty());
    EXPECT_EQ(array.length(), 0);
    EXPECT_EQ(heap.attempts, 0);
    deleteInt(array);
    EXPECT_EQ(heap.liveBlocks, 0);
}

TEST(Array, CopiesShareElementsAndTheLastDropFreesThem) {
    test::FakeHeap heap;
    Array<int16_t> first = allocShort(4);
    Array<int16_t> second = first;
    EXPECT_EQ(first.shareCount(), 2);

    second[2] = 77;
    EXPECT_EQ(first[2], 77);

    deleteShort(second);
    EXPECT_TRUE(second.isEmpty());
    EXPECT_EQ(first[2], 77);
    EXPECT_EQ(first.shareCount(), 1);
    EXPECT_EQ(heap.liveBlocks, 2);  // the count word and the elements

    deleteShort(first);
    EXPECT_EQ(heap.liveBlocks, 0);
}

TEST(Array, AssignmentDropsTheOldElements) {
    test::FakeHeap heap;
    Array<uint8_t> array = allocByte(3);
    Array<uint8_t> other = allocByte(7);
    array = other;
    EXPECT_EQ(array.length(), 7);
    EXPECT_EQ(heap.liveBlocks, 2);
    const Array<uint8_t>& itself = array;  // through a reference, which clang does not flag
    array = itself;
    EXPECT_EQ(array.shareCount(), 2);
}

TEST(Array, SizesThatCannotBeHadGiveTheEmptyArray) {
    test::FakeHeap heap;
    EXPECT_TRUE(allocInt(-1).isEmpty());
    EXPECT_TRUE(allocInt(0x40000000).isEmpty());  // 4 GB of elements
    EXPECT_EQ(heap.attempts, 0);

    heap.refuseFromAttempt = 2;  // the count word is made, the element block refused
    Array<int32_t> refused = allocInt(10);
    EXPECT_TRUE(refused.isEmpty());
    EXPECT_EQ(refused.length(), 0);
    EXPECT_EQ(heap.liveBlocks, 0);
}

TEST(Array, CopyHandlesOverlapAndRefusesRangesOutside) {
    Array<int32_t> array = allocInt(6);
    for (int32_t i = 0; i < 6; ++i) {
        array[i] = i;
    }
    EXPECT_TRUE(arrayCopy(array, 0, array, 2, 4));
    const int32_t expected[] = {0, 1, 0, 1, 2, 3};
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(array[i], expected[i]) << "at " << i;
    }

    Array<int32_t> small = allocInt(2);
    EXPECT_FALSE(arrayCopy(array, 0, small, 1, 2));
    EXPECT_FALSE(arrayCopy(array, -1, small, 0, 1));
    EXPECT_EQ(small[1], 0);
}

TEST(RefArray, StartsNullAndTheLastCopyReleasesLastElementFirst) {
    test::FakeHeap heap;
    std::string log;
    {
        RefArray<test::LoggingObject> array(3);
        EXPECT_FALSE(array[1]);
        array[0] = new test::LoggingObject(&log, 'a');
        array[2] = new test::LoggingObject(&log, 'c');
        RefArray<test::LoggingObject> copy = array;
        array.release();
        EXPECT_EQ(log, "");
        EXPECT_EQ(copy[2]->referenceCount(), 1);
    }
    EXPECT_EQ(log, "~c~a");
    EXPECT_EQ(heap.liveBlocks, 0);
}

TEST(RefArray, ZeroOrNegativeLengthIsEmpty) {
    EXPECT_TRUE(RefArray<test::LoggingObject>(0).isEmpty());
    EXPECT_TRUE(RefArray<test::LoggingObject>(-4).isEmpty());
}

}  // namespace
}  // namespace vornel
