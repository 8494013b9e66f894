// SPDX-License-Identifier: Apache-2.0
// The CIE xy chromaticities of the camera's native primaries and white point.
//
// The colour correction matrix C for the white balance takes camera native
// RGB to wide-gamut working RGB, and W takes wide-gamut RGB to CIE XYZ, so a
// native RGB triple has the XYZ  W * (C * rgb). Each native primary is a unit
// RGB vector, the white point is (1, 1, 1); their XYZ projected to xy are the
// result.
#include <VellMetadataContainer/ColorCorrectionMatrix.h>

namespace Vmc {

namespace {

// Wide-gamut working RGB to CIE XYZ. Its columns are the XYZ of the
// wide-gamut primaries (red 0.684, 0.313; green 0.221, 0.848; blue 0.0861,
// -0.102); its row sums are the D65 white point.
constexpr Matrix33 kWideGamutToXyz(0.638007619, 0.21470386, 0.09774445,
                                   0.291953779, 0.82384104, -0.11579482,
                                   0.002798279, -0.06703424, 1.15329371);

// xy of an XYZ triple, in float.
Vec2 xyFromXyz(const Vec3& xyz)
{
    const float sum = (xyz.x + xyz.y) + xyz.z;
    return Vec2(xyz.x / sum, xyz.y / sum);
}

} // namespace

Chromaticities ColorCorrectionMatrixTable::cameraNativeChromaticities(unsigned short cct, bool ndIn)
{
    // A table of the calibration set, built afresh for this call: it is small,
    // and a call keeps nothing between calls.
    const ColorCorrectionMatrixTable table(ndIn ? NDMatrices() : noNDMatrices());
    const Matrix33 correction = table.matrixForCCT(cct).matrix();
    const Matrix33& toXyz = kWideGamutToXyz;

    // Red goes through the float vector C * (1, 0, 0); the others through the
    // double product W * C.
    const Vec3 redXyz = toXyz * (correction * Vec3(1.0f, 0.0f, 0.0f));
    const Matrix33 nativeToXyz = toXyz * correction;
    const Vec3 greenXyz = nativeToXyz * Vec3(0.0f, 1.0f, 0.0f);
    const Vec3 blueXyz = nativeToXyz * Vec3(0.0f, 0.0f, 1.0f);
    const Vec3 whiteXyz = nativeToXyz * Vec3(1.0f, 1.0f, 1.0f);

    return Chromaticities(xyFromXyz(redXyz), xyFromXyz(greenXyz), xyFromXyz(blueXyz), xyFromXyz(whiteXyz));
}

} // namespace Vmc
