#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <vector>

#include <gtest/gtest.h>

#include "support/MatrixElements.h"

using Vmc::ColorCorrectionMatrix;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Matrix33;
using Vmc::Vec3;
using Vmc::testing::elements;

namespace {

using List = std::vector<ColorCorrectionMatrix>;
using ListFunction = List (*)();

struct Set {
    const char* name;
    ListFunction list;
};

const Set kSets[] = {
    {"without ND", &ColorCorrectionMatrixTable::noNDMatrices},
    {"with ND", &ColorCorrectionMatrixTable::NDMatrices},
};

const unsigned short kListOrder[] = {2000, 2100, 2200, 2400, 2600, 2900, 3200, 3500, 3900,
                                     4300, 4700, 5100, 5100, 5600, 6500, 7500, 9000, 11000};

} // namespace

TEST(CalibrationSets, ListsHoldEighteenMatricesInCctOrder)
{
    for (const Set& set : kSets) {
        const List list = set.list();
        ASSERT_EQ(list.size(), std::size(kListOrder)) << set.name;
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(list[i].cct(), kListOrder[i]) << set.name << " element " << i;
        EXPECT_EQ(elements(list[11].matrix()), elements(list[12].matrix())) << set.name;
        EXPECT_EQ(ColorCorrectionMatrixTable(list).entries.size(), 17u) << set.name;
    }
}

TEST(CalibrationSets, KnownElements)
{
    const List withoutNd = ColorCorrectionMatrixTable::noNDMatrices();
    const List withNd = ColorCorrectionMatrixTable::NDMatrices();
    struct Case {
        const char* what;
        double actual, expected;
    };
    const Case cases[] = {
        {"without ND 2000 K m00", withoutNd[0].matrix().m00, 1.210510},
        {"without ND 11000 K m22", withoutNd[17].matrix().m22, 1.128773},
        {"without ND 5600 K m12", withoutNd[13].matrix().m12, -0.041202},
        {"with ND 2000 K m21", withNd[0].matrix().m21, -0.482172},
        {"with ND 3200 K m02", withNd[6].matrix().m02, 0.000646},
        {"with ND 11000 K m10", withNd[17].matrix().m10, 0.000211},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what;

    // The two sets are different calibrations.
    EXPECT_NE(elements(withoutNd[6].matrix()), elements(withNd[6].matrix()));
}

TEST(CalibrationSets, EveryMatrixKeepsNeutralNeutral)
{
    // Each row sums to 1 within 1e-6 as printed with six decimals; the
    // product with (1, 1, 1) adds at most one float rounding to that.
    const double decimalTolerance = 1e-6 + 1e-12;
    const double floatTolerance = decimalTolerance + 6e-8;
    for (const Set& set : kSets) {
        for (const ColorCorrectionMatrix& m : set.list()) {
            const Matrix33 c = m.matrix();
            EXPECT_NEAR((c.m00 + c.m01) + c.m02, 1.0, decimalTolerance) << set.name << " " << m.cct();
            EXPECT_NEAR((c.m10 + c.m11) + c.m12, 1.0, decimalTolerance) << set.name << " " << m.cct();
            EXPECT_NEAR((c.m20 + c.m21) + c.m22, 1.0, decimalTolerance) << set.name << " " << m.cct();

            const Vec3 r = c * Vec3(1, 1, 1);
            EXPECT_NEAR(r.x, 1.0, floatTolerance) << set.name << " " << m.cct();
            EXPECT_NEAR(r.y, 1.0, floatTolerance) << set.name << " " << m.cct();
            EXPECT_NEAR(r.z, 1.0, floatTolerance) << set.name << " " << m.cct();
        }
    }
}

TEST(CalibrationSets, EveryCallReturnsAFreshCopy)
{
    for (const Set& set : kSets) {
        List first = set.list();
        const List second = set.list();
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(first[i].cct(), second[i].cct());
            EXPECT_EQ(elements(first[i].matrix()), elements(second[i].matrix()));
        }
        first.clear();
        first.push_back(ColorCorrectionMatrix(1, 0, 0, 0, 0, 0, 0, 0, 0, 0));
        const List third = set.list();
        ASSERT_EQ(third.size(), 18u) << set.name;
        EXPECT_EQ(third[0].cct(), 2000) << set.name;
    }
}
