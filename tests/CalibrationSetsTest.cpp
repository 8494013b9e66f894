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

struct Set {
    const char* name;
    List (*list)();
};

const Set kSets[] = {
    {"without ND", &ColorCorrectionMatrixTable::noNDMatrices},
    {"with ND", &ColorCorrectionMatrixTable::NDMatrices},
};

} // namespace

TEST(CalibrationSets, EighteenMatricesInCctOrder)
{
    const unsigned short order[] = {2000, 2100, 2200, 2400, 2600, 2900, 3200, 3500, 3900,
                                    4300, 4700, 5100, 5100, 5600, 6500, 7500, 9000, 11000};
    for (const Set& set : kSets) {
        const List list = set.list();
        ASSERT_EQ(list.size(), std::size(order)) << set.name;
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(list[i].cct(), order[i]) << set.name << " element " << i;
        EXPECT_EQ(elements(list[11].matrix()), elements(list[12].matrix())) << set.name;
        EXPECT_EQ(ColorCorrectionMatrixTable(list).entries.size(), 17u) << set.name;
    }

    const List withoutNd = ColorCorrectionMatrixTable::noNDMatrices();
    const List withNd = ColorCorrectionMatrixTable::NDMatrices();
    EXPECT_EQ(withoutNd[0].matrix().m00, 1.210510);
    EXPECT_EQ(withoutNd[17].matrix().m22, 1.128773);
    EXPECT_EQ(withNd[0].matrix().m21, -0.482172);
    EXPECT_EQ(withNd[17].matrix().m10, 0.000211);
}

TEST(CalibrationSets, EveryMatrixKeepsNeutralNeutral)
{
    // Each row sums to 1 within 1e-6 as printed with six decimals; the float
    // product with (1, 1, 1) adds at most one float rounding to that.
    const double rowTolerance = 1e-6 + 1e-12;
    const double productTolerance = rowTolerance + 6e-8;
    for (const Set& set : kSets) {
        for (const ColorCorrectionMatrix& m : set.list()) {
            const Matrix33 c = m.matrix();
            EXPECT_NEAR((c.m00 + c.m01) + c.m02, 1.0, rowTolerance) << set.name << " " << m.cct();
            EXPECT_NEAR((c.m10 + c.m11) + c.m12, 1.0, rowTolerance) << set.name << " " << m.cct();
            EXPECT_NEAR((c.m20 + c.m21) + c.m22, 1.0, rowTolerance) << set.name << " " << m.cct();
            const Vec3 r = c * Vec3(1, 1, 1);
            EXPECT_NEAR(r.x + r.y + r.z, 3.0, 3 * productTolerance) << set.name << " " << m.cct();
        }
    }
}

TEST(CalibrationSets, EveryCallReturnsAFreshCopy)
{
    for (const Set& set : kSets) {
        List first = set.list();
        first[0] = ColorCorrectionMatrix(1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        first.pop_back();
        const List second = set.list();
        ASSERT_EQ(second.size(), 18u) << set.name;
        EXPECT_EQ(second[0].cct(), 2000) << set.name;
    }
}
