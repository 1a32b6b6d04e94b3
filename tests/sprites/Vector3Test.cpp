// Vector arithmetic: the length estimate, normalising, products.
#include "sprites/Vector3.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

constexpr Fixed kUnit = 0x8000;

Ref<Vector3> vec(Fixed x, Fixed y, Fixed z) {
    return new Vector3(x, y, z);
}

TEST(Vector3, ApproxLengthWeighsTheLargerOfXAndYFully) {
    // (3, 4, 0): 4 at full weight, 3 at 11/32.
    EXPECT_EQ(vec(3 * kUnit, 4 * kUnit, 0)->approxLength(), 4 * kUnit + (11 * 3 * kUnit >> 5));
    // (0, 0, 10): z is the largest yet gets only 11/32, as the unsorted estimate does.
    EXPECT_EQ(vec(0, 0, 10 * kUnit)->approxLength(), (11 * 10 * kUnit) >> 5);
    EXPECT_EQ(vec(-2 * kUnit, 1 * kUnit, -4 * kUnit)->approxLength(), 2 * kUnit + (11 * 4 * kUnit >> 5) + kUnit / 4);
}

TEST(Vector3, LengthUsesTheSquareRoot) {
    EXPECT_NEAR(vec(3 * kUnit, 4 * kUnit, 0)->length(), 5 * kUnit, 4);
    EXPECT_NEAR(vec(-kUnit, -kUnit, -kUnit)->length(), 56755, 4);  // sqrt(3)
}

TEST(Vector3, NormaliseGivesLengthOneOrZeroForTinyVectors) {
    Ref<Vector3> v = vec(3 * kUnit, 0, -4 * kUnit);
    v->normalise();
    EXPECT_NEAR(v->length(), kUnit, 8);
    EXPECT_GT(v->m_x, 0);
    EXPECT_LT(v->m_z, 0);

    Ref<Vector3> tiny = vec(1, 1, 0);  // shorter than 2 units
    tiny->normalise();
    EXPECT_EQ(tiny->m_x, 0);
    EXPECT_EQ(tiny->m_y, 0);
    EXPECT_EQ(tiny->m_z, 0);
}

TEST(Vector3, DivideByOneLeavesTheComponents) {
    Ref<Vector3> v = vec(123, -4567, 89);
    v->divide(kUnit);
    EXPECT_EQ(v->m_x, 123);
    EXPECT_EQ(v->m_y, -4567);
    EXPECT_EQ(v->m_z, 89);
    v->divide(2 * kUnit);
    EXPECT_EQ(v->m_y, -2283);  // truncated toward zero
}

TEST(Vector3, CrossProductMayOverwriteItsOwnArgument) {
    Ref<Vector3> x = vec(kUnit, 0, 0);
    Ref<Vector3> y = vec(0, kUnit, 0);
    Ref<Vector3> z = new Vector3();
    z->cross(x, y);
    EXPECT_EQ(z->m_z, kUnit);
    EXPECT_EQ(z->m_x, 0);

    x->cross(x, y);  // x = x × y, read before written
    EXPECT_EQ(x->m_x, 0);
    EXPECT_EQ(x->m_y, 0);
    EXPECT_EQ(x->m_z, kUnit);
}

TEST(Vector3, SumsScalingAndDot) {
    Ref<Vector3> v = vec(kUnit, 2 * kUnit, 3 * kUnit);
    Ref<Vector3> w = vec(kUnit / 2, 0, -kUnit);
    EXPECT_EQ(v->dot(w), kUnit / 2 - 3 * kUnit);

    v->addScaled(w, 2 * kUnit);
    EXPECT_EQ(v->m_x, 2 * kUnit);
    EXPECT_EQ(v->m_z, kUnit);

    v->subtract(w);
    EXPECT_EQ(v->m_x, 3 * kUnit / 2);
    v->negate();
    EXPECT_EQ(v->m_y, -2 * kUnit);
    v->multiply(kUnit / 2);
    EXPECT_EQ(v->m_y, -kUnit);
    v->assign(w);
    EXPECT_EQ(v->m_z, -kUnit);
    v->setZero();
    EXPECT_EQ(v->dot(w), 0);
}

TEST(Vector3, AcceptTakesAndReleasesItsArgument) {
    Ref<Vector3> v = new Vector3();
    Ref<Vector3> other = vec(1, 2, 3);
    v->accept(other);
    EXPECT_EQ(other->referenceCount(), 1);
    EXPECT_EQ(other->m_y, 2);
}

}  // namespace
}  // namespace vornel
