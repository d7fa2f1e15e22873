// Vector helpers: zero vectors, the float degree factor, the winding of triangle_normal.
#include <cmath>

#include "state/vector_math.h"
#include "tests/support/test_globals.h"

namespace {

TEST(VectorMath, ZeroVectorsStayZero) {
    EXPECT_EQ(vec_normalize({0, 0, 0}), (Vec3{0, 0, 0}));
    Vec3 a{0, 0, 0};
    vec_normalize_in_place(a);
    EXPECT_EQ(a, (Vec3{0, 0, 0}));
    EXPECT_EQ(vec_cross_unit({0, 0, 2}, {0, 0, 1}), (Vec3{0, 0, 0}));
}

TEST(VectorMath, NormalizeAndCrossGiveUnitVectors) {
    EXPECT_EQ(vec_normalize({0, 3, 4}), (Vec3{0, 0.6f, 0.8f}));
    EXPECT_EQ(vec_cross_unit({2, 0, 0}, {0, 5, 0}), (Vec3{0, 0, 1}));
    EXPECT_EQ(vec_cross_unit({1, 1, 0}, {-1, 1, 0}), (Vec3{0, 0, 1}));
    EXPECT_EQ(vec_cross_unit({0, 1, 1}, {0, -1, 1}), (Vec3{1, 0, 0}));
    EXPECT_EQ(vec_cross_unit({1, 0, 1}, {1, 0, -1}), (Vec3{0, 1, 0}));
    EXPECT_EQ(vec_length({2, 3, 6}), 7.0f);
    EXPECT_EQ(vec_dot({1, 2, 3}, {4, -5, 6}), 12.0f);
}

TEST(VectorMath, AnglesUseTheDegreeFactorHeldAsFloat) {
    EXPECT_EQ(vec_angle_deg({0, 0, 1}, {0, 0, 1}), 0.0f);
    // pi * 57.2958f and pi/2 * 57.2958f, rounded to float: not exactly 180 and 90.
    EXPECT_EQ(vec_angle_deg({0, 0, -1}, {0, 0, 1}), 180.00006f);
    EXPECT_EQ(vec_angle_deg({1, 0, 0}, {0, 0, 1}), 90.00003f);
    EXPECT_NE(vec_angle_deg({0, 0, -1}, {0, 0, 1}), 180.0f);
}

TEST(VectorMath, AngleWithZeroVectorIsNotANumber) {
    EXPECT_TRUE(std::isnan(vec_angle_deg({0, 0, 0}, {0, 0, 1})));
}

TEST(VectorMath, TriangleNormalFollowsTheWinding) {
    Vec3 n;
    triangle_normal({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, n);
    EXPECT_EQ(n, (Vec3{0, 0, 1}));
    triangle_normal({0, 0, 0}, {1, 1, 0}, {1, 0, 0}, n);
    EXPECT_EQ(n, (Vec3{0, 0, -1}));
    triangle_normal({1, 1, 1}, {1, 1, 1}, {1, 1, 1}, n);
    EXPECT_EQ(n, (Vec3{0, 0, 0}));
}

} // namespace
