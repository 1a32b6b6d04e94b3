// The lagged-Fibonacci generator.
#include "core/Random.h"

#include <gtest/gtest.h>

#include <set>

namespace vornel {
namespace {

TEST(Random, FractionsAreMultiplesOf128BelowOne) {
    Random random(7);
    std::set<Fixed> seen;
    for (int i = 0; i < 5000; ++i) {
        const Fixed f = random.nextFraction();
        ASSERT_GE(f, 0);
        ASSERT_LE(f, 32640);
        ASSERT_EQ(f % 128, 0);
        seen.insert(f);
    }
    EXPECT_GT(seen.size(), 200u);  // the generator reaches most of the 256 values
}

TEST(Random, RangesStayWithinTheirBounds) {
    Random random(3);
    int32_t lowest = INT32_MAX;
    int32_t highest = INT32_MIN;
    for (int i = 0; i < 5000; ++i) {
        const int32_t v = random.nextRange(910, 1820);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_GE(lowest, 910);
    EXPECT_LE(highest, 1820);
    EXPECT_LT(lowest, 920);
    EXPECT_GT(highest, 1800);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(random.nextRange(5, 5), 5);
    }
}

TEST(Random, OnlyTheLowFiveBitsOfTheStartTicksMatter) {
    Random zero(0);
    Random wrapped(32);
    Random one(1);
    Random ahead(0);
    ahead.nextFraction();  // one more tick means one more discarded draw
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(wrapped.nextFraction(), zero.nextFraction());
        EXPECT_EQ(one.nextFraction(), ahead.nextFraction());
    }
}

TEST(Random, TheProcessGeneratorServesTheGame) {
    for (int i = 0; i < 1000; ++i) {
        const int32_t v = randomRange(-3, 3);
        ASSERT_GE(v, -3);
        ASSERT_LE(v, 3);
    }
}

}  // namespace
}  // namespace vornel
