// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/Matrix33.h>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "support/MatrixElements.h"

using Vmc::Matrix33;
using Vmc::Vec3;
using Vmc::testing::Elements;
using Vmc::testing::elements;

namespace {

Elements components(const Vec3& v) { return {v.x, v.y, v.z, 0, 0, 0, 0, 0, 0}; }

const Matrix33 kA(1, 2, 3, 4, 5, 6, 7, 8, 9);
const Matrix33 kB(-2, 4, 0, 8, 10, -12, 14, 16, 2);

} // namespace

TEST(Matrix33, BlendWeights)
{
    // Elements whose differences round in double: only weight * b +
    // (1 - weight) * a returns a and b exactly at weights 0 and 1.
    const Matrix33 a(0.1, 0.2, 0.3, 1e20, -3.3, 7.77, 1e-300, 5.0, -0.0);
    const Matrix33 b(0.7, -0.9, 1.0 / 3.0, -2e19, 1e-17, 123.456, 6.0, -1e300, 0.0);
    EXPECT_EQ(elements(Matrix33(0.0, a, b)), elements(a));
    EXPECT_EQ(elements(Matrix33(1.0, a, b)), elements(b));
    // Weights outside 0..1 are applied as they are.
    EXPECT_EQ(elements(Matrix33(-0.5, kA, kB)), (Elements{2.5, 1, 4.5, 2, 2.5, 15, 3.5, 4, 12.5}));
}

TEST(Matrix33, VectorProductsSumLeftToRightAndRoundToFloatOnce)
{
    // Row 0: 1 + half + half is a full float step above 1 in double; rounding
    // after each addition would lose both halves. Row 1: (1e20 - 1e20) + 1
    // is 1; summing right to left gives 0. Row 2 overflows the float range.
    const double half = std::ldexp(1.0, -24);
    const float justAboveOne = 1.0f + std::ldexp(1.0f, -23);
    const Matrix33 m(1.0, half, half, 1e20, -1e20, 1.0, 1e300, 0.0, 0.0);
    const Elements sums = components(Vec3(justAboveOne, 1.0f, std::numeric_limits<float>::infinity()));
    EXPECT_EQ(components(m * Vec3(1, 1, 1)), sums);
    EXPECT_EQ(components(Vec3(1, 1, 1) * m.transpose()), sums);

    // M * e_i is column i, e_i * M is row i.
    EXPECT_EQ(components(kA * Vec3(0, 0, 1)), components(Vec3(3, 6, 9)));
    EXPECT_EQ(components(Vec3(0, 0, 1) * kA), components(Vec3(7, 8, 9)));

    // The matrix product keeps the same order, in double.
    const Matrix33 product = m * Matrix33(1, 0, 0, 1, 0, 0, 1, 0, 0);
    EXPECT_EQ(product.m00, 1.0 + 2 * half);
    EXPECT_EQ(product.m10, 1.0);
}

TEST(Matrix33, ProductOrderAndSum)
{
    // With a cyclic permutation P, P * M permutes rows and M * P columns.
    const Matrix33 shift(0, 1, 0, 0, 0, 1, 1, 0, 0);
    EXPECT_EQ(elements(shift * kA), (Elements{4, 5, 6, 7, 8, 9, 1, 2, 3}));
    EXPECT_EQ(elements(kA * shift), (Elements{3, 1, 2, 6, 4, 5, 9, 7, 8}));
    EXPECT_EQ(elements(kA + kB), (Elements{-1, 6, 3, 12, 15, -6, 21, 24, 11}));
}
