#include <VellMetadataContainer/Chromaticities.h>
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

void expectVec(const Vec3& actual, float x, float y, float z)
{
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

const Matrix33 kSmallA(1, 2, 3, 4, 5, 6, 7, 8, 9);
const Matrix33 kSmallB(-2, 4, 0, 8, 10, -12, 14, 16, 2);

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
    EXPECT_EQ(elements(Matrix33(-0.5, kSmallA, kSmallB)), (Elements{2.5, 1, 4.5, 2, 2.5, 15, 3.5, 4, 12.5}));
    EXPECT_EQ(elements(Matrix33(2.0, kSmallA, kSmallB)), (Elements{-5, 6, -3, 12, 15, -30, 21, 24, -5}));
}

TEST(Matrix33, ColumnAndRowVectorProducts)
{
    // M * e_i is column i, e_i * M is row i, rounded to float.
    const Matrix33 m(0.1, 0.2, 0.3, 1e20, -3.3, 7.77, 1e-300, 5.0, 4.0);
    expectVec(m * Vec3(1, 0, 0), 0.1f, 1e20f, 0.0f);
    expectVec(m * Vec3(0, 0, 1), 0.3f, 7.77f, 4.0f);
    expectVec(Vec3(1, 0, 0) * m, 0.1f, 0.2f, 0.3f);
    expectVec(Vec3(0, 0, 1) * m, 0.0f, 5.0f, 4.0f);

    const Vec3 v(0.3f, -1.7f, 2.9f);
    const Vec3 viaTranspose = m.transpose() * v;
    expectVec(v * m, viaTranspose.x, viaTranspose.y, viaTranspose.z);
}

TEST(Matrix33, SumsRunLeftToRightAndRoundToFloatOnce)
{
    const double half = std::ldexp(1.0, -24); // half a float step at 1
    const float justAboveOne = 1.0f + std::ldexp(1.0f, -23);

    // Row 0: 1 + half + half is a full float step above 1 in double; rounding
    // after each addition would lose both halves. Row 1: (1e20 - 1e20) + 1
    // is 1; summing right to left gives 0.
    const Matrix33 m(1.0, half, half, 1e20, -1e20, 1.0, 0.0, 0.0, 0.0);
    expectVec(m * Vec3(1, 1, 1), justAboveOne, 1.0f, 0.0f);
    expectVec(Vec3(1, 1, 1) * m.transpose(), justAboveOne, 1.0f, 0.0f);

    // The matrix product keeps the same order, in double.
    const Matrix33 product = m * Matrix33(1, 0, 0, 1, 0, 0, 1, 0, 0);
    EXPECT_EQ(product.m00, 1.0 + 2 * half);
    EXPECT_EQ(product.m10, 1.0);

    // Beyond the float range a component becomes an infinity, not garbage.
    EXPECT_EQ((Matrix33(1e300, 0, 0, 0, 1, 0, 0, 0, 1) * Vec3(1, 0, 0)).x, std::numeric_limits<float>::infinity());
}

TEST(Matrix33, ProductOrderSumAndIdentity)
{
    const Matrix33 identity;
    EXPECT_EQ(elements(kSmallA * identity), elements(kSmallA));
    EXPECT_EQ(elements(identity * kSmallA), elements(kSmallA));

    // With a cyclic permutation P, P * M permutes rows and M * P columns.
    const Matrix33 shift(0, 1, 0, 0, 0, 1, 1, 0, 0);
    EXPECT_EQ(elements(shift * kSmallA), (Elements{4, 5, 6, 7, 8, 9, 1, 2, 3}));
    EXPECT_EQ(elements(kSmallA * shift), (Elements{3, 1, 2, 6, 4, 5, 9, 7, 8}));

    EXPECT_EQ(elements(kSmallA + kSmallB), (Elements{-1, 6, 3, 12, 15, -6, 21, 24, 11}));
}

TEST(Chromaticities, EqualityLooksAtEveryCoordinate)
{
    using Vmc::Chromaticities;
    using Vmc::Vec2;
    const Chromaticities base(Vec2(0.64f, 0.33f), Vec2(0.3f, 0.6f), Vec2(0.15f, 0.06f), Vec2(0.3127f, 0.329f));
    EXPECT_TRUE(base == Chromaticities(base));

    for (auto point : {&Chromaticities::red, &Chromaticities::green, &Chromaticities::blue, &Chromaticities::white}) {
        for (auto coord : {&Vec2::x, &Vec2::y}) {
            Chromaticities changed = base;
            (changed.*point).*coord += 0.001f;
            EXPECT_FALSE(base == changed);

            Chromaticities withNan = base;
            (withNan.*point).*coord = std::numeric_limits<float>::quiet_NaN();
            EXPECT_FALSE(withNan == Chromaticities(withNan));
        }
    }
}
