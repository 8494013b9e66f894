#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "support/MatrixElements.h"

using Vmc::ColorCorrectionMatrix;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Vec3;
using Vmc::testing::Elements;
using Vmc::testing::elements;

namespace {

ColorCorrectionMatrix filled(unsigned short cct, double value)
{
    return ColorCorrectionMatrix(cct, value, value, value, value, value, value, value, value, value);
}

const ColorCorrectionMatrixTable& withoutNd()
{
    static const ColorCorrectionMatrixTable table(ColorCorrectionMatrixTable::noNDMatrices());
    return table;
}

Elements calibration(unsigned short cct)
{
    return elements(withoutNd().entries.at(cct).matrix());
}

constexpr unsigned short kCalibrationCcts[] = {2000, 2100, 2200, 2400, 2600, 2900, 3200, 3500, 3900,
                                               4300, 4700, 5100, 5600, 6500, 7500, 9000, 11000};

} // namespace

TEST(ColorCorrectionMatrix, BlendProductAndThreeWayLess)
{
    // The blend carries the given CCT; those of the two ends play no part.
    const ColorCorrectionMatrix blend(4000, 0.25, filled(100, 4.0), filled(60000, 8.0));
    EXPECT_EQ(blend.cct(), 4000);
    EXPECT_EQ(elements(blend.matrix()), elements(filled(0, 5.0).matrix()));

    const Vec3 firstRow = ColorCorrectionMatrix(3200, 1, 2, 3, 4, 5, 6, 7, 8, 9) * Vec3(1, 0, 0);
    EXPECT_EQ(firstRow.x, 1.0f);
    EXPECT_EQ(firstRow.y, 2.0f);
    EXPECT_EQ(firstRow.z, 3.0f);

    EXPECT_EQ(filled(3200, 1) < filled(5600, 0), -1);
    EXPECT_EQ(filled(5600, 0) < filled(3200, 1), 1);
    EXPECT_EQ(filled(5600, 0) < filled(5600, 1), 0);
}

TEST(ColorCorrectionMatrixTable, Alpha)
{
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(5600, 5600, 6500), 0.0);
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(6500, 5600, 6500), 1.0);
    EXPECT_NEAR(ColorCorrectionMatrixTable::alpha(6000, 5600, 6500), 13.0 / 27.0, 1e-15);
    // Linear in mired: halfway between 2000 K and 6000 K in mired is 3000 K.
    EXPECT_NEAR(ColorCorrectionMatrixTable::alpha(3000, 2000, 6000), 0.5, 1e-15);
    EXPECT_TRUE(std::isnan(ColorCorrectionMatrixTable::alpha(5000, 5000, 5000)));
}

TEST(ColorCorrectionMatrixTable, SmallTables)
{
    const ColorCorrectionMatrixTable dup({filled(5600, 1.0), filled(3200, 2.0), filled(5600, 3.0)});
    ASSERT_EQ(dup.entries.size(), 2u);
    EXPECT_EQ(dup.entries.at(5600).matrix().m11, 1.0); // the first 5600 K wins

    const ColorCorrectionMatrixTable single({filled(4000, 0.5)});
    for (unsigned short cct : {0, 3999, 4000, 4001, 65535}) {
        EXPECT_EQ(single.matrixForCCT(cct).cct(), 4000) << cct;
        EXPECT_EQ(single.matrixForCCT(cct).matrix().m22, 0.5) << cct;
    }

    // An entry at 0 K lies at infinite mired: above it the next entry rules.
    const ColorCorrectionMatrixTable fromZero({filled(0, 1.0), filled(4000, 2.0)});
    EXPECT_EQ(elements(fromZero.matrixForCCT(2000).matrix()), elements(filled(0, 2.0).matrix()));

    const ColorCorrectionMatrixTable empty{std::vector<ColorCorrectionMatrix>()};
    EXPECT_THROW(empty.matrixForCCT(5600), std::out_of_range);
}

TEST(ColorCorrectionMatrixTable, ClampsAndHitsCalibrationPointsExactly)
{
    struct Case {
        unsigned short requested, cct;
    };
    const Case cases[] = {{0, 2000}, {1000, 2000}, {15000, 11000}, {65535, 11000}};
    for (const Case& c : cases) {
        EXPECT_EQ(withoutNd().matrixForCCT(c.requested).cct(), c.cct) << c.requested;
        EXPECT_EQ(elements(withoutNd().matrixForCCT(c.requested).matrix()), calibration(c.cct)) << c.requested;
    }
    for (unsigned short cct : kCalibrationCcts) {
        EXPECT_EQ(withoutNd().matrixForCCT(cct).cct(), cct);
        EXPECT_EQ(elements(withoutNd().matrixForCCT(cct).matrix()), calibration(cct)) << cct;
    }
}

TEST(ColorCorrectionMatrixTable, InterpolatesInMiredBetweenNeighbours)
{
    const Elements lo = calibration(5600), hi = calibration(6500);
    const ColorCorrectionMatrix m = withoutNd().matrixForCCT(6000);
    EXPECT_EQ(m.cct(), 6000);
    // One kelvin below 6500 K is a thousandth of the mired span away.
    const Elements at6000 = elements(m.matrix()), at6499 = elements(withoutNd().matrixForCCT(6499).matrix());
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(at6000[i], 13.0 / 27.0 * hi[i] + 14.0 / 27.0 * lo[i], 1e-12) << i;
        EXPECT_NEAR(at6499[i], hi[i], 1e-3 * std::fabs(hi[i] - lo[i])) << i;
    }
}

TEST(ColorCorrectionMatrixTable, EveryInnerCctUsesItsOwnNeighbours)
{
    // Each element lies between those of the two enclosing calibration
    // points, and the weight grows with the CCT.
    for (std::size_t p = 0; p + 1 < std::size(kCalibrationCcts); ++p) {
        const Elements lo = calibration(kCalibrationCcts[p]), hi = calibration(kCalibrationCcts[p + 1]);
        double previousWeight = 0.0;
        for (unsigned cct = kCalibrationCcts[p] + 1u; cct < kCalibrationCcts[p + 1]; ++cct) {
            const ColorCorrectionMatrix m = withoutNd().matrixForCCT(static_cast<unsigned short>(cct));
            ASSERT_EQ(m.cct(), cct);
            const Elements got = elements(m.matrix());
            for (int i = 0; i < 9; ++i) {
                ASSERT_GE(got[i], std::min(lo[i], hi[i]) - 1e-15) << cct << " element " << i;
                ASSERT_LE(got[i], std::max(lo[i], hi[i]) + 1e-15) << cct << " element " << i;
            }
            const double weight = (got[0] - lo[0]) / (hi[0] - lo[0]);
            ASSERT_GT(weight, previousWeight) << cct;
            previousWeight = weight;
        }
    }
}
