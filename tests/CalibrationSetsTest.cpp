#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <vector>

#include <gtest/gtest.h>

#include "support/MatrixElements.h"

using Vmc::ColorCorrectionMatrix;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Vec3;
using Vmc::testing::elements;

TEST(CalibrationSets, EighteenNeutralMatricesInCctOrderFreshOnEveryCall)
{
    const unsigned short order[] = {2000, 2100, 2200, 2400, 2600, 2900, 3200, 3500, 3900,
                                    4300, 4700, 5100, 5100, 5600, 6500, 7500, 9000, 11000};
    for (bool ndIn : {false, true}) {
        SCOPED_TRACE(ndIn ? "with ND" : "without ND");
        const auto list = [ndIn] {
            return ndIn ? ColorCorrectionMatrixTable::NDMatrices() : ColorCorrectionMatrixTable::noNDMatrices();
        };
        std::vector<ColorCorrectionMatrix> first = list();
        ASSERT_EQ(first.size(), std::size(order));
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(first[i].cct(), order[i]) << i;
            // Each row sums to 1 as printed with six decimals; the float
            // product adds at most one rounding to that.
            const Vec3 sums = first[i].matrix() * Vec3(1, 1, 1);
            for (float sum : {sums.x, sums.y, sums.z})
                EXPECT_NEAR(sum, 1.0, 1e-6 + 6e-8) << first[i].cct();
        }
        EXPECT_EQ(elements(first[11].matrix()), elements(first[12].matrix()));
        EXPECT_EQ(ColorCorrectionMatrixTable(first).entries.size(), 17u);

        first[0] = ColorCorrectionMatrix(1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        first.pop_back();
        const std::vector<ColorCorrectionMatrix> second = list();
        ASSERT_EQ(second.size(), 18u);
        EXPECT_EQ(second[0].cct(), 2000);
    }

    EXPECT_EQ(ColorCorrectionMatrixTable::noNDMatrices()[0].matrix().m00, 1.210510);
    EXPECT_EQ(ColorCorrectionMatrixTable::noNDMatrices()[17].matrix().m22, 1.128773);
    EXPECT_EQ(ColorCorrectionMatrixTable::NDMatrices()[0].matrix().m21, -0.482172);
    EXPECT_EQ(ColorCorrectionMatrixTable::NDMatrices()[17].matrix().m10, 0.000211);
}
