// The camera-native primaries as computed on every call, bit for bit equal to
// the computation written out step by step: a fresh calibration list, the
// matrix for the CCT found by walking it, the fixed products and the
// projection to xy. Every 16-bit CCT, with and without the ND filter.
#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

using Vmc::Chromaticities;
using Vmc::ColorCorrectionMatrix;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Matrix33;
using Vmc::Vec2;
using Vmc::Vec3;

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

std::uint32_t bits(float f)
{
    std::uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

// The eight coordinates' bit patterns agree; NaNs and signed zeros included.
bool sameBits(const Chromaticities& a, const Chromaticities& b)
{
    for (auto point : {&Chromaticities::red, &Chromaticities::green, &Chromaticities::blue, &Chromaticities::white}) {
        if (bits((a.*point).x) != bits((b.*point).x) || bits((a.*point).y) != bits((b.*point).y))
            return false;
    }
    return true;
}

} // namespace

TEST(CameraNativeReference, EveryCctWithAndWithoutNdMatchesTheStepByStepComputation)
{
    for (bool ndIn : {false, true}) {
        int mismatches = 0;
        for (unsigned cct = 0; cct <= 0xFFFF; ++cct) {
            const auto t = static_cast<unsigned short>(cct);
            if (!sameBits(ColorCorrectionMatrixTable::cameraNativeChromaticities(t, ndIn), reference(t, ndIn)) &&
                ++mismatches <= 5)
                ADD_FAILURE() << "cct " << cct << (ndIn ? " with" : " without") << " ND";
        }
        EXPECT_EQ(mismatches, 0) << (ndIn ? "with" : "without") << " ND";
    }
}

TEST(CameraNativeReference, CallsLeaveTheCalibrationListsAsTheyWere)
{
    // The lists handed out stay fresh copies: changing one changes neither the
    // next copy nor the primaries computed afterwards.
    const Chromaticities before = ColorCorrectionMatrixTable::cameraNativeChromaticities(5600, false);
    std::vector<Vmc::ColorCorrectionMatrix> list = ColorCorrectionMatrixTable::noNDMatrices();
    list.clear();
    EXPECT_EQ(ColorCorrectionMatrixTable::noNDMatrices().size(), 18u);
    EXPECT_TRUE(sameBits(before, ColorCorrectionMatrixTable::cameraNativeChromaticities(5600, false)));
}
