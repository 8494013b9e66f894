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

// Elements whose sums and differences round in double: a blend that is not
// computed as weight * b + (1 - weight) * a drifts away from a or b.
const Matrix33 kA(0.1, 0.2, 0.3, 1e20, -3.3, 7.77, 1e-300, 5.0, -0.0);
const Matrix33 kB(0.7, -0.9, 1.0 / 3.0, -2e19, 1e-17, 123.456, 6.0, -1e300, 0.0);

// Exactly representable, so a blend with weight -0.5 has an exact expectation.
const Matrix33 kSmallA(1, 2, 3, 4, 5, 6, 7, 8, 9);
const Matrix33 kSmallB(-2, 4, 0, 8, 10, -12, 14, 16, 2);

const Matrix33 kGeneric(1.5, -0.25, 0.75, 2.0, 3.0, -1.0, 0.125, 0.5, 4.0);

void expectVec(const Vec3& actual, float x, float y, float z)
{
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

} // namespace

TEST(Matrix33, DefaultIsIdentityAndCopiesAreExact)
{
    EXPECT_EQ(elements(Matrix33()), (Elements{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    const Matrix33 copy(kA);
    EXPECT_EQ(elements(copy), elements(kA));
}

TEST(Matrix33, BlendWeights)
{
    EXPECT_EQ(elements(Matrix33(0.0, kA, kB)), elements(kA));
    EXPECT_EQ(elements(Matrix33(1.0, kA, kB)), elements(kB));

    struct Case {
        double weight;
        Elements expected; // weight * kSmallB + (1 - weight) * kSmallA
    };
    const Case cases[] = {
        {-0.5, {2.5, 1, 4.5, 2, 2.5, 15, 3.5, 4, 12.5}}, // outside 0..1: applied as it is
        {0.5, {-0.5, 3, 1.5, 6, 7.5, -3, 10.5, 12, 5.5}},
        {2.0, {-5, 6, -3, 12, 15, -30, 21, 24, -5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(elements(Matrix33(c.weight, kSmallA, kSmallB)), c.expected) << c.weight;
}

TEST(Matrix33, UnitVectorsPickColumnsOrRows)
{
    // Column-vector products give columns, row-vector products give rows,
    // each rounded to float.
    expectVec(kA * Vec3(1, 0, 0), 0.1f, 1e20f, 0.0f);
    expectVec(kA * Vec3(0, 1, 0), 0.2f, -3.3f, 5.0f);
    expectVec(kA * Vec3(0, 0, 1), 0.3f, 7.77f, -0.0f);
    expectVec(Vec3(1, 0, 0) * kA, 0.1f, 0.2f, 0.3f);
    expectVec(Vec3(0, 1, 0) * kA, 1e20f, -3.3f, 7.77f);
    expectVec(Vec3(0, 0, 1) * kA, 0.0f, 5.0f, -0.0f);
}

TEST(Matrix33, RowVectorProductIsTransposedColumnProduct)
{
    const Vec3 v(0.3f, -1.7f, 2.9f);
    const Vec3 row = v * kGeneric;
    const Vec3 column = kGeneric.transpose() * v;
    expectVec(row, column.x, column.y, column.z);
    EXPECT_EQ(elements(kGeneric.transpose().transpose()), elements(kGeneric));
}

TEST(Matrix33, SumsRunLeftToRightAndRoundToFloatOnce)
{
    const double half = std::ldexp(1.0, -24); // half a float step at 1
    const float justAboveOne = 1.0f + std::ldexp(1.0f, -23);

    // Row 0: 1 + half + half is 1 + a full float step in double; rounding
    // after each addition would lose both halves. Row 1: (1e20 - 1e20) + 1
    // is 1; summing right to left gives 0.
    const Matrix33 m(1.0, half, half, 1e20, -1e20, 1.0, 0.0, 0.0, 0.0);
    expectVec(m * Vec3(1, 1, 1), justAboveOne, 1.0f, 0.0f);
    expectVec(Vec3(1, 1, 1) * m.transpose(), justAboveOne, 1.0f, 0.0f);

    // The matrix product keeps the same order, in double.
    const Matrix33 ones(1, 0, 0, 1, 0, 0, 1, 0, 0);
    const Matrix33 product = m * ones;
    EXPECT_EQ(product.m00, 1.0 + 2 * half);
    EXPECT_EQ(product.m10, 1.0);
}

TEST(Matrix33, ProductsAreOrderedAndIdentityIsNeutral)
{
    const Matrix33 identity;
    EXPECT_EQ(elements(kGeneric * identity), elements(kGeneric));
    EXPECT_EQ(elements(identity * kGeneric), elements(kGeneric));

    const Matrix33 shift(0, 1, 0, 0, 0, 1, 1, 0, 0); // cyclic permutation
    // shift * M permutes rows, M * shift permutes columns.
    EXPECT_EQ(elements(shift * kSmallA), (Elements{4, 5, 6, 7, 8, 9, 1, 2, 3}));
    EXPECT_EQ(elements(kSmallA * shift), (Elements{3, 1, 2, 6, 4, 5, 9, 7, 8}));

    EXPECT_EQ(elements(kSmallA + kSmallB), (Elements{-1, 6, 3, 12, 15, -6, 21, 24, 11}));
}

TEST(Matrix33, FloatOverflowBecomesInfinity)
{
    const Vec3 r = Matrix33(1e300, 0, 0, -1e300, 0, 0, 0, 0, 0) * Vec3(1, 0, 0);
    EXPECT_EQ(r.x, std::numeric_limits<float>::infinity());
    EXPECT_EQ(r.y, -std::numeric_limits<float>::infinity());
}

TEST(Chromaticities, EqualityLooksAtEveryCoordinate)
{
    using Vmc::Chromaticities;
    using Vmc::Vec2;
    const Chromaticities base(Vec2(0.64f, 0.33f), Vec2(0.3f, 0.6f), Vec2(0.15f, 0.06f), Vec2(0.3127f, 0.329f));
    EXPECT_TRUE(base == Chromaticities(base));

    float Vec2::*const coords[] = {&Vec2::x, &Vec2::y};
    Vec2 Chromaticities::*const points[] = {&Chromaticities::red, &Chromaticities::green, &Chromaticities::blue,
                                            &Chromaticities::white};
    for (auto point : points) {
        for (auto coord : coords) {
            Chromaticities changed = base;
            (changed.*point).*coord += 0.001f;
            EXPECT_FALSE(base == changed);
            EXPECT_FALSE(changed == base);

            Chromaticities withNan = base;
            (withNan.*point).*coord = std::numeric_limits<float>::quiet_NaN();
            EXPECT_FALSE(withNan == Chromaticities(withNan));
        }
    }
}
