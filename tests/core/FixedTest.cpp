// Fixed-point multiplication, division, square root and the angle functions.
#include "core/Fixed.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

TEST(Fixed, MultiplyingByExactlyOneIsExactEvenWhereTheProductWouldWrap) {
    EXPECT_EQ(fmul(0x8000, 0x7FFFFFFF), 0x7FFFFFFF);
    EXPECT_EQ(fmul(0x7FFFFFFF, 0x8000), 0x7FFFFFFF);
    EXPECT_EQ(fmul(0, 0x7FFFFFFF), 0);
    // Without the shortcut the 64-bit product no longer fits in 32 bits and wraps.
    const int64_t wide = (int64_t{0x8001} * 0x7FFFFFFF) >> 15;
    EXPECT_EQ(fmul(0x8001, 0x7FFFFFFF), static_cast<int32_t>(wide));
    EXPECT_LT(fmul(0x8001, 0x7FFFFFFF), 0);
}

TEST(Fixed, MultiplicationRoundsTowardMinusInfinity) {
    EXPECT_EQ(fmul(-1, 1), -1);
    EXPECT_EQ(fmul(1, 1), 0);
    EXPECT_EQ(fmul(0x4000, 0x4000), 0x2000);
    EXPECT_EQ(fmul(-0x8000, -0x8000), 0x8000);
}

TEST(Fixed, DivisionTruncatesTowardZero) {
    EXPECT_EQ(fdiv(0x8000, 0x10000), 0x4000);
    EXPECT_EQ(fdiv(1, 0x10000), 0);
    EXPECT_EQ(fdiv(-1, 0x10000), 0);
    EXPECT_EQ(fdiv(-0x18000, 0x8000), -0x18000);
}

TEST(Fixed, DivisionByZeroAnswersTheLargestValueOfTheDividendsSign) {
    EXPECT_EQ(fdiv(5, 0), INT32_MAX);
    EXPECT_EQ(fdiv(0, 0), INT32_MAX);
    EXPECT_EQ(fdiv(-5, 0), INT32_MIN);
}

TEST(Fixed, SquareRootStopsWhenTheStepFallsBelowFourUnits) {
    EXPECT_EQ(fsqrt(0x10000), 46340);  // sqrt(2.0) = 46340.95 units
    EXPECT_EQ(fsqrt(0x8000), 0x8000);
    EXPECT_EQ(fsqrt(0), 0);
    EXPECT_EQ(fsqrt(-0x8000), 0x8000);
    EXPECT_EQ(fsqrt(int64_t{0x8000} * 9), 3 * 0x8000);
}

TEST(Fixed, SquareRootOfHugeValuesEnds) {
    // 2^31 in whole units: the root, 46340.95, still fits the format.
    EXPECT_NEAR(fsqrt(int64_t{1} << 46), 1518500250, 4);
    // Roots beyond the format come back as their low word; the iteration must still end.
    (void)fsqrt(INT64_MAX);
    (void)fsqrt(INT64_MIN);
    (void)fsqrt(int64_t{1} << 60);
}

TEST(Fixed, SineAndCosineAtTheQuarterTurns) {
    EXPECT_EQ(fsin(0), -1);  // the parabola misses zero by one unit
    EXPECT_EQ(fsin(0x2000), 32767);
    EXPECT_EQ(fsin(0x4000), 1);
    EXPECT_EQ(fsin(0x6000), -32767);
    EXPECT_EQ(fcos(0), 32767);
    EXPECT_EQ(fsin(0x8000 + 0x2000), fsin(0x2000));  // only the low 15 bits matter
    EXPECT_EQ(fsin(0x1000), 23349);                  // 0.71255 for sin 45 degrees = 0.7071
}

TEST(Fixed, ArcTangentAtTheAxes) {
    EXPECT_EQ(fatan2(0, 1), 0);
    EXPECT_EQ(fatan2(0x8000, 0), 0x2000);
    EXPECT_EQ(fatan2(0, -1), 0x4000);
    EXPECT_EQ(fatan2(-0x8000, 0), -0x2000);
    EXPECT_EQ(fatan2(0, 0), 0x1000);  // no direction at all comes out as 45 degrees
    EXPECT_NEAR(fatan2(0x8000, 0x8000), 0x1000, 1);
}

}  // namespace
}  // namespace vornel
