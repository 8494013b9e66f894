#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "support/MatrixElements.h"

using Vmc::ColorCorrectionMatrix;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Matrix33;
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

const ColorCorrectionMatrix& calibration(unsigned short cct)
{
    return withoutNd().entries.at(cct);
}

constexpr unsigned short kCalibrationCcts[] = {2000, 2100, 2200, 2400, 2600, 2900, 3200, 3500, 3900,
                                               4300, 4700, 5100, 5600, 6500, 7500, 9000, 11000};

} // namespace

TEST(ColorCorrectionMatrix, ConstructionAndAccessors)
{
    const ColorCorrectionMatrix m(3200, 1, 2, 3, 4, 5, 6, 7, 8, 9);
    EXPECT_EQ(m.cct(), 3200);
    EXPECT_EQ(elements(m.matrix()), (Elements{1, 2, 3, 4, 5, 6, 7, 8, 9}));

    // The blend carries the given CCT; those of the two ends play no part.
    const ColorCorrectionMatrix blend(4000, 0.25, filled(100, 4.0), filled(60000, 8.0));
    EXPECT_EQ(blend.cct(), 4000);
    EXPECT_EQ(elements(blend.matrix()), elements(filled(0, 5.0).matrix()));
}

TEST(ColorCorrectionMatrix, VectorProductTakesRowVector)
{
    const ColorCorrectionMatrix m(3200, 1, 2, 3, 4, 5, 6, 7, 8, 9);
    const Vec3 firstRow = m * Vec3(1, 0, 0);
    EXPECT_EQ(firstRow.x, 1.0f);
    EXPECT_EQ(firstRow.y, 2.0f);
    EXPECT_EQ(firstRow.z, 3.0f);
}

TEST(ColorCorrectionMatrix, LessThanIsThreeWay)
{
    struct Case {
        unsigned short left, right;
        int expected;
    };
    const Case cases[] = {{3200, 5600, -1}, {5600, 3200, 1}, {5600, 5600, 0}, {0, 65535, -1}, {65535, 0, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(filled(c.left, 1.0) < filled(c.right, 2.0), c.expected) << c.left << " vs " << c.right;
}

TEST(ColorCorrectionMatrixTable, Alpha)
{
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(5600, 5600, 6500), 0.0);
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(6500, 5600, 6500), 1.0);
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(2000, 2000, 11000), 0.0);
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(11000, 2000, 11000), 1.0);
    EXPECT_NEAR(ColorCorrectionMatrixTable::alpha(6000, 5600, 6500), 13.0 / 27.0, 1e-15);
    // Linear in mired, not in kelvin: halfway in mired lies below halfway in kelvin.
    EXPECT_NEAR(ColorCorrectionMatrixTable::alpha(3000, 2000, 6000), 0.5, 1e-15);

    // Unchecked arguments give what IEEE division gives.
    EXPECT_TRUE(std::isnan(ColorCorrectionMatrixTable::alpha(5000, 5000, 5000)));
    EXPECT_TRUE(std::isinf(ColorCorrectionMatrixTable::alpha(0, 2000, 3000)));
}

TEST(ColorCorrectionMatrixTable, ConstructionKeepsFirstOfEachCct)
{
    const ColorCorrectionMatrixTable table({filled(5600, 1.0), filled(3200, 2.0), filled(5600, 3.0)});
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table.entries.begin()->first, 3200);
    EXPECT_EQ(table.entries.at(5600).matrix().m11, 1.0);
    for (const auto& [cct, entry] : table.entries)
        EXPECT_EQ(cct, entry.cct());

    EXPECT_TRUE(ColorCorrectionMatrixTable(std::vector<ColorCorrectionMatrix>()).entries.empty());
}

TEST(ColorCorrectionMatrixTable, EmptyTableRejectsRequests)
{
    const ColorCorrectionMatrixTable empty{std::vector<ColorCorrectionMatrix>()};
    EXPECT_THROW(empty.matrixForCCT(5600), std::out_of_range);
}

TEST(ColorCorrectionMatrixTable, SingleEntryAnswersEveryRequest)
{
    const ColorCorrectionMatrixTable table({filled(4000, 0.5)});
    for (unsigned short cct : {0, 1, 3999, 4000, 4001, 65535}) {
        const ColorCorrectionMatrix m = table.matrixForCCT(cct);
        EXPECT_EQ(m.cct(), 4000) << cct;
        EXPECT_EQ(elements(m.matrix()), elements(filled(0, 0.5).matrix())) << cct;
    }
}

TEST(ColorCorrectionMatrixTable, ClampsOutsideTheCalibratedRange)
{
    struct Case {
        unsigned short requested, endCct;
    };
    const Case cases[] = {{0, 2000}, {1, 2000}, {1000, 2000}, {2000, 2000},
                          {11000, 11000}, {15000, 11000}, {65535, 11000}};
    for (const Case& c : cases) {
        const ColorCorrectionMatrix m = withoutNd().matrixForCCT(c.requested);
        EXPECT_EQ(m.cct(), c.endCct) << c.requested;
        EXPECT_EQ(elements(m.matrix()), elements(calibration(c.endCct).matrix())) << c.requested;
    }
}

TEST(ColorCorrectionMatrixTable, CalibrationPointsAreReturnedExactly)
{
    for (unsigned short cct : kCalibrationCcts) {
        const ColorCorrectionMatrix m = withoutNd().matrixForCCT(cct);
        EXPECT_EQ(m.cct(), cct);
        EXPECT_EQ(elements(m.matrix()), elements(calibration(cct).matrix())) << cct;
    }
}

TEST(ColorCorrectionMatrixTable, InterpolatesInMiredBetweenNeighbours)
{
    const ColorCorrectionMatrix m = withoutNd().matrixForCCT(6000);
    EXPECT_EQ(m.cct(), 6000);
    const Elements lo = elements(calibration(5600).matrix());
    const Elements hi = elements(calibration(6500).matrix());
    const Elements got = elements(m.matrix());
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(got[i], 13.0 / 27.0 * hi[i] + 14.0 / 27.0 * lo[i], 1e-12) << i;

    // One kelvin below 6500 K is a thousandth of the mired span away, so each
    // element is within a thousandth of its 5600-6500 K difference (~2e-5).
    const Elements nearHi = elements(withoutNd().matrixForCCT(6499).matrix());
    for (int i = 0; i < 9; ++i) {
        EXPECT_NE(nearHi[i], hi[i]) << i;
        EXPECT_NEAR(nearHi[i], hi[i], 1e-3 * std::fabs(hi[i] - lo[i])) << i;
    }
}

TEST(ColorCorrectionMatrixTable, EveryInnerCctUsesItsOwnNeighbours)
{
    // Each element lies between those of the two calibration points that
    // enclose the request, and the weight grows with the CCT.
    for (std::size_t p = 0; p + 1 < std::size(kCalibrationCcts); ++p) {
        const unsigned short loCct = kCalibrationCcts[p], hiCct = kCalibrationCcts[p + 1];
        const Elements lo = elements(calibration(loCct).matrix());
        const Elements hi = elements(calibration(hiCct).matrix());
        double previousWeight = 0.0;
        for (unsigned cct = loCct + 1u; cct < hiCct; ++cct) {
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
        EXPECT_LT(previousWeight, 1.0) << loCct;
    }
}

TEST(ColorCorrectionMatrixTable, EntryAtZeroKelvinYieldsToItsSuccessor)
{
    const ColorCorrectionMatrixTable table({filled(0, 1.0), filled(4000, 2.0)});
    const ColorCorrectionMatrix m = table.matrixForCCT(2000);
    EXPECT_EQ(m.cct(), 2000);
    EXPECT_EQ(elements(m.matrix()), elements(filled(0, 2.0).matrix()));
    EXPECT_EQ(table.matrixForCCT(0).matrix().m00, 1.0);
}
