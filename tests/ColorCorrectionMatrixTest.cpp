#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <algorithm>
#include <cmath>
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

Elements at(unsigned cct) { return elements(withoutNd().matrixForCCT(static_cast<unsigned short>(cct)).matrix()); }

constexpr unsigned short kCalibrationCcts[] = {2000, 2100, 2200, 2400, 2600, 2900, 3200, 3500, 3900,
                                               4300, 4700, 5100, 5600, 6500, 7500, 9000, 11000};

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

TEST(ColorCorrectionMatrixTable, ClampsAndHitsCalibrationPointsExactly)
{
    const unsigned short outside[][2] = {{0, 2000}, {1000, 2000}, {15000, 11000}, {65535, 11000}};
    for (const auto& c : outside) {
        EXPECT_EQ(withoutNd().matrixForCCT(c[0]).cct(), c[1]) << c[0];
        EXPECT_EQ(at(c[0]), elements(withoutNd().entries.at(c[1]).matrix())) << c[0];
    }
    for (unsigned short cct : kCalibrationCcts)
        EXPECT_EQ(at(cct), elements(withoutNd().entries.at(cct).matrix())) << cct;
}

TEST(ColorCorrectionMatrixTable, InterpolatesInMiredBetweenNeighbours)
{
    const Elements lo = at(5600), hi = at(6500), at6000 = at(6000), at6499 = at(6499);
    EXPECT_EQ(withoutNd().matrixForCCT(6000).cct(), 6000);
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(at6000[i], 13.0 / 27.0 * hi[i] + 14.0 / 27.0 * lo[i], 1e-12) << i;
        EXPECT_NEAR(at6499[i], hi[i], 1e-3 * std::fabs(hi[i] - lo[i])) << i;
    }

    // Every inner CCT lies between its own two neighbours, with a weight that
    // grows with the CCT.
    for (std::size_t p = 0; p + 1 < std::size(kCalibrationCcts); ++p) {
        const Elements below = at(kCalibrationCcts[p]), above = at(kCalibrationCcts[p + 1]);
        double previousWeight = 0.0;
        for (unsigned cct = kCalibrationCcts[p] + 1u; cct < kCalibrationCcts[p + 1]; ++cct) {
            const Elements got = at(cct);
            for (int i = 0; i < 9; ++i)
                ASSERT_LE(std::fabs(got[i] - below[i]) + std::fabs(above[i] - got[i]),
                          std::fabs(above[i] - below[i]) + 1e-15) << cct << " element " << i;
            const double weight = (got[0] - below[0]) / (above[0] - below[0]);
            ASSERT_GT(weight, previousWeight) << cct;
            previousWeight = weight;
        }
    }
}
