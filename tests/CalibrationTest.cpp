// SPDX-License-Identifier: Apache-2.0
// The calibration lists, the matrix for a CCT, and the camera-native
// primaries: bit for bit equal, at every 16-bit CCT with and without the ND
// filter, to the computation written out step by step (a fresh calibration
// list, the matrix for the CCT found by walking it, the fixed products and
// the projection to xy).
#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "support/ContainerProbe.h"
#include "support/MatrixElements.h"

using Vmc::Chromaticities;
using Vmc::ColorCorrectionMatrix;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Matrix33;
using Vmc::Vec2;
using Vmc::Vec3;
using Vmc::testing::elements;

namespace {

Vec2 xy(const Vec3& xyz)
{
    const float sum = (xyz.x + xyz.y) + xyz.z;
    return Vec2(xyz.x / sum, xyz.y / sum);
}

// The matrix for the CCT from an ascending calibration list: the end
// calibrations outside their range, else the blend in mired of the last
// calibration at or below the CCT and the first one above it.
Matrix33 correctionFor(const std::vector<ColorCorrectionMatrix>& list, unsigned short cct)
{
    if (cct <= list.front().cct())
        return list.front().matrix();
    if (cct >= list.back().cct())
        return list.back().matrix();
    std::size_t hi = 1;
    while (list[hi].cct() <= cct)
        ++hi;
    const ColorCorrectionMatrix& lo = list[hi - 1];
    return Matrix33(ColorCorrectionMatrixTable::alpha(cct, lo.cct(), list[hi].cct()), lo.matrix(), list[hi].matrix());
}

// The computation as described, with nothing kept between calls.
Chromaticities reference(unsigned short cct, bool ndIn)
{
    const Matrix33 c = correctionFor(ndIn ? ColorCorrectionMatrixTable::NDMatrices()
                                          : ColorCorrectionMatrixTable::noNDMatrices(),
                                     cct);
    const Matrix33 w(0.638007619, 0.21470386, 0.09774445,
                     0.291953779, 0.82384104, -0.11579482,
                     0.002798279, -0.06703424, 1.15329371);
    const Vec3 red = w * (c * Vec3(1.0f, 0.0f, 0.0f));
    const Matrix33 wc = w * c;
    return Chromaticities(xy(red), xy(wc * Vec3(0.0f, 1.0f, 0.0f)), xy(wc * Vec3(0.0f, 0.0f, 1.0f)),
                          xy(wc * Vec3(1.0f, 1.0f, 1.0f)));
}

ColorCorrectionMatrix filled(unsigned short cct, double v) { return ColorCorrectionMatrix(cct, v, v, v, v, v, v, v, v, v); }

} // namespace

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
            // Each row sums to 1 as printed with six decimals (a mistyped
            // element shows here); the float product adds one rounding.
            const Vec3 sums = first[i].matrix() * Vec3(1, 1, 1);
            for (float sum : {sums.x, sums.y, sums.z})
                EXPECT_NEAR(sum, 1.0, 1e-6 + 6e-8) << first[i].cct();
        }
        EXPECT_EQ(elements(first[11].matrix()), elements(first[12].matrix()));
        EXPECT_EQ(ColorCorrectionMatrixTable(first).entries.size(), 17u);

        // A changed copy changes neither the next copy nor the primaries.
        const Chromaticities before = ColorCorrectionMatrixTable::cameraNativeChromaticities(5600, ndIn);
        first[0] = ColorCorrectionMatrix(1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        first.pop_back();
        const std::vector<ColorCorrectionMatrix> second = list();
        ASSERT_EQ(second.size(), 18u);
        EXPECT_EQ(second[0].cct(), 2000);
        EXPECT_TRUE(Vmc::testing::probe::same(before, ColorCorrectionMatrixTable::cameraNativeChromaticities(5600, ndIn)));
    }
}

TEST(ColorCorrectionMatrixTable, AlphaInMiredAndLookups)
{
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(5600, 5600, 6500), 0.0);
    EXPECT_EQ(ColorCorrectionMatrixTable::alpha(6500, 5600, 6500), 1.0);
    EXPECT_NEAR(ColorCorrectionMatrixTable::alpha(6000, 5600, 6500), 13.0 / 27.0, 1e-15);
    EXPECT_NEAR(ColorCorrectionMatrixTable::alpha(3000, 2000, 6000), 0.5, 1e-15);

    const ColorCorrectionMatrixTable dup({filled(5600, 1.0), filled(3200, 2.0), filled(5600, 3.0)});
    ASSERT_EQ(dup.entries.size(), 2u);
    EXPECT_EQ(dup.entries.at(5600).matrix().m11, 1.0); // the first 5600 K wins
    const ColorCorrectionMatrixTable single({filled(4000, 0.5)});
    for (unsigned short cct : {0, 3999, 4001, 65535})
        EXPECT_EQ(elements(single.matrixForCCT(cct).matrix()), elements(filled(0, 0.5).matrix())) << cct;
    const ColorCorrectionMatrixTable empty{std::vector<ColorCorrectionMatrix>()};
    EXPECT_THROW(empty.matrixForCCT(5600), std::out_of_range);

    // The result carries the CCT clamped to the table's range.
    const ColorCorrectionMatrixTable withoutNd(ColorCorrectionMatrixTable::noNDMatrices());
    const unsigned short cases[][2] = {{0, 2000}, {2000, 2000}, {6000, 6000}, {11000, 11000}, {65535, 11000}};
    for (const auto& [asked, carried] : cases)
        EXPECT_EQ(withoutNd.matrixForCCT(asked).cct(), carried) << asked;
}

TEST(CameraNativeChromaticities, EveryCctWithAndWithoutNdMatchesTheStepByStepComputation)
{
    // Two results against numbers worked out apart from the library.
    const Chromaticities known[] = {
        {Vec2(0.6695f, 0.2886f), Vec2(0.1913f, 1.2496f), Vec2(0.0556f, -0.1511f), Vec2(0.3127f, 0.3290f)},
        {Vec2(0.6693f, 0.2599f), Vec2(0.2725f, 2.1914f), Vec2(0.0925f, -0.0587f), Vec2(0.3127f, 0.3290f)}};
    const std::pair<unsigned short, bool> knownAt[] = {{5600, false}, {3200, true}};
    for (std::size_t i = 0; i < 2; ++i) {
        const Chromaticities c = ColorCorrectionMatrixTable::cameraNativeChromaticities(knownAt[i].first, knownAt[i].second);
        for (auto point : {&Chromaticities::red, &Chromaticities::green, &Chromaticities::blue, &Chromaticities::white}) {
            EXPECT_NEAR((c.*point).x, (known[i].*point).x, 1e-4) << knownAt[i].first;
            EXPECT_NEAR((c.*point).y, (known[i].*point).y, 1e-4) << knownAt[i].first;
        }
    }
    // Each CCT without and with ND, then both again from the thread's
    // recent primaries.
    int mismatches = 0;
    for (unsigned cct = 0; cct <= 0xFFFF; ++cct) {
        const auto t = static_cast<unsigned short>(cct);
        for (bool ndIn : {false, true, false, true})
            if (!Vmc::testing::probe::same(ColorCorrectionMatrixTable::cameraNativeChromaticities(t, ndIn),
                                           reference(t, ndIn)) &&
                ++mismatches <= 5)
                ADD_FAILURE() << "cct " << cct << (ndIn ? " with" : " without") << " ND";
    }
    EXPECT_EQ(mismatches, 0);
}
