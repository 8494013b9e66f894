#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "support/MatrixElements.h"

using Vmc::ColorCorrectionMatrix;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::testing::Elements;
using Vmc::testing::elements;

namespace {

ColorCorrectionMatrix filled(unsigned short cct, double v) { return ColorCorrectionMatrix(cct, v, v, v, v, v, v, v, v, v); }

const ColorCorrectionMatrixTable& withoutNd()
{
    static const ColorCorrectionMatrixTable table(ColorCorrectionMatrixTable::noNDMatrices());
    return table;
}

} // namespace

TEST(ColorCorrectionMatrixTable, AlphaIsLinearInMired)
{
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(5600, 5600, 6500), 0.0);
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(6500, 5600, 6500), 1.0);
    EXPECT_NEAR(ColorCorrectionMatrixTable::alpha(6000, 5600, 6500), 13.0 / 27.0, 1e-15);
    EXPECT_NEAR(ColorCorrectionMatrixTable::alpha(3000, 2000, 6000), 0.5, 1e-15);
}

TEST(ColorCorrectionMatrixTable, SmallTables)
{
    const ColorCorrectionMatrixTable dup({filled(5600, 1.0), filled(3200, 2.0), filled(5600, 3.0)});
    ASSERT_EQ(dup.entries.size(), 2u);
    EXPECT_EQ(dup.entries.at(5600).matrix().m11, 1.0); // the first 5600 K wins

    const ColorCorrectionMatrixTable single({filled(4000, 0.5)});
    for (unsigned short cct : {0, 3999, 4001, 65535})
        EXPECT_EQ(elements(single.matrixForCCT(cct).matrix()), elements(filled(0, 0.5).matrix())) << cct;

    const ColorCorrectionMatrixTable empty{std::vector<ColorCorrectionMatrix>()};
    EXPECT_THROW(empty.matrixForCCT(5600), std::out_of_range);
}

// The matrices themselves are checked bit for bit, at every CCT, through the
// camera-native primaries; here the CCT each result carries.
TEST(ColorCorrectionMatrixTable, ResultCarriesTheClampedCct)
{
    const unsigned short cases[][2] = {{0, 2000}, {2000, 2000}, {6000, 6000}, {11000, 11000}, {65535, 11000}};
    for (const auto& [asked, carried] : cases)
        EXPECT_EQ(withoutNd().matrixForCCT(asked).cct(), carried) << asked;
}
