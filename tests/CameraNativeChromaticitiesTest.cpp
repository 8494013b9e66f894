#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

using Vmc::Chromaticities;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Vec2;

namespace {

Chromaticities native(unsigned cct, bool ndIn)
{
    return ColorCorrectionMatrixTable::cameraNativeChromaticities(static_cast<unsigned short>(cct), ndIn);
}

// The largest difference of any coordinate.
double distance(const Chromaticities& a, const Chromaticities& b)
{
    double d = 0.0;
    for (auto point : {&Chromaticities::red, &Chromaticities::green, &Chromaticities::blue, &Chromaticities::white}) {
        d = std::max(d, std::fabs(double((a.*point).x) - (b.*point).x));
        d = std::max(d, std::fabs(double((a.*point).y) - (b.*point).y));
    }
    return d;
}

} // namespace

TEST(CameraNativeChromaticities, KnownResults)
{
    struct Case {
        unsigned cct;
        bool ndIn;
        Chromaticities expected;
    };
    const Case cases[] = {
        {5600, false, {Vec2(0.6695f, 0.2886f), Vec2(0.1913f, 1.2496f), Vec2(0.0556f, -0.1511f), Vec2(0.3127f, 0.3290f)}},
        {3200, true, {Vec2(0.6693f, 0.2599f), Vec2(0.2725f, 2.1914f), Vec2(0.0925f, -0.0587f), Vec2(0.3127f, 0.3290f)}},
    };
    for (const Case& c : cases)
        EXPECT_LE(distance(native(c.cct, c.ndIn), c.expected), 1e-4) << c.cct << (c.ndIn ? " ND" : "");
}

TEST(CameraNativeChromaticities, ClampsAtTheEndsAndMovesContinuouslyBetween)
{
    for (bool ndIn : {false, true}) {
        EXPECT_TRUE(native(0, ndIn) == native(2000, ndIn));
        EXPECT_TRUE(native(11000, ndIn) == native(65535, ndIn));
        EXPECT_FALSE(native(10999, ndIn) == native(11000, ndIn));
    }
    EXPECT_GT(distance(native(3200, false), native(3200, true)), 0.1);

    // Towards 6500 K from 5600 K every step comes closer to the 6500 K result.
    const Chromaticities at6500 = native(6500, false);
    double previous = distance(native(5600, false), at6500);
    for (unsigned cct : {5700u, 6000u, 6250u, 6400u, 6499u}) {
        const double left = distance(native(cct, false), at6500);
        EXPECT_LT(left, previous) << cct;
        previous = left;
    }
    EXPECT_LE(previous, 1e-4);
}

TEST(CameraNativeChromaticities, WhiteIsD65ForEveryCct)
{
    // Every calibration keeps neutral neutral, so white stays at D65 whatever
    // the white balance; a wrong product order or a lost row shows here.
    for (bool ndIn : {false, true}) {
        for (unsigned cct = 0; cct <= 65535; ++cct) {
            const Vec2 white = native(cct, ndIn).white;
            if (std::fabs(white.x - 0.3127f) > 1e-4f || std::fabs(white.y - 0.3290f) > 1e-4f) {
                ADD_FAILURE() << "cct " << cct << (ndIn ? " ND" : "") << ": white " << white.x << ", " << white.y;
                return;
            }
        }
    }
}
