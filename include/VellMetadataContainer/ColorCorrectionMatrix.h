// SPDX-License-Identifier: Apache-2.0
/// @file
/// Colour correction matrices tagged with the correlated colour temperature
/// (CCT, kelvin) at which they were calibrated, and a table of them that gives
/// a matrix for any CCT.
///
/// A correction matrix C takes camera native RGB to the wide-gamut working
/// RGB: rgb_wide = C * rgb_native (column vector, see Matrix33.h).
///
/// ColorCorrectionMatrixTable::matrixForCCT(t), with lo and hi the table's
/// neighbouring calibration points around t:
///
/// ~~~
///   t <= lowest CCT    the lowest entry, with its own CCT
///   t >= highest CCT   the highest entry, with its own CCT
///   otherwise          CCT t, matrix  w * hi + (1 - w) * lo,
///                      w = alpha(t, lo, hi) = (1/lo - 1/t) / (1/lo - 1/hi)
/// ~~~
///
/// i.e. linear in reciprocal CCT (mired) between calibration points, with no
/// extrapolation beyond the calibrated range.
#pragma once

#include <map>
#include <vector>

#include "Chromaticities.h"
#include "Export.h"
#include "Matrix33.h"
#include "Vec.h"

namespace Vmc {

/// A colour correction matrix and the CCT, in kelvin, at which it was
/// calibrated.
class VMC_EXPORT ColorCorrectionMatrix {
public:
    /// CCT and the nine matrix elements in row-major order.
    constexpr ColorCorrectionMatrix(unsigned short cct,
                                    double m00, double m01, double m02,
                                    double m10, double m11, double m12,
                                    double m20, double m21, double m22)
        : cct_(cct), matrix_(m00, m01, m02, m10, m11, m12, m20, m21, m22) {}

    /// The given CCT with the blend Matrix33(weight, a.matrix(), b.matrix());
    /// the CCTs of a and b play no part.
    ColorCorrectionMatrix(unsigned short cct, double weight, const ColorCorrectionMatrix& a,
                          const ColorCorrectionMatrix& b);

    /// The CCT, in kelvin, at which the matrix was calibrated.
    constexpr unsigned short cct() const { return cct_; }
    /// The matrix, camera native RGB to wide-gamut RGB.
    constexpr Matrix33 matrix() const { return matrix_; }

    /// Three-way comparison of the CCTs: -1 lower, 0 equal, +1 higher. Note
    /// that it is true in a condition whenever the CCTs differ.
    int operator<(const ColorCorrectionMatrix& other) const;

    /// v as a row vector times the matrix: v * matrix().
    Vec3 operator*(const Vec3& v) const;

private:
    unsigned short cct_;
    Matrix33 matrix_;
};

/// Correction matrices by CCT, giving a matrix for any CCT: clamped to the
/// end entries, interpolated in mired between them.
class VMC_EXPORT ColorCorrectionMatrixTable {
public:
    /// One entry per CCT, ascending; each key equals its entry's cct().
    std::map<unsigned short, ColorCorrectionMatrix> entries;

    /// Takes the matrices in order; a matrix whose CCT is already present is
    /// dropped, so the first one with a given CCT wins. An empty vector gives
    /// an empty table.
    explicit ColorCorrectionMatrixTable(const std::vector<ColorCorrectionMatrix>& matrices);

    /// The matrix for `cct`, clamped to the end entries and interpolated in
    /// mired between them (see ColorCorrectionMatrix.h). An entry at 0 K lies
    /// at infinite mired: between it and the next entry the next entry's
    /// matrix is used.
    /// @throws std::out_of_range on an empty table: there is nothing to
    /// interpolate, and asking is a mistake of the caller.
    ColorCorrectionMatrix matrixForCCT(unsigned short cct) const;

    /// Weight of the upper neighbour hi for `cct`: 0 at lo, 1 at hi, linear in
    /// mired. Arguments are not checked: a zero CCT or lo == hi gives the
    /// infinity or NaN of the division.
    static double alpha(unsigned short cct, unsigned short lo, unsigned short hi);

    ///@{
    /// The factory calibrations without and with the ND filter: a fresh copy
    /// of 18 matrices, 2000 K to 11000 K, in ascending CCT order with the
    /// 5100 K matrix standing twice (a table keeps 17 entries). Safe to call
    /// from several threads at once.
    static std::vector<ColorCorrectionMatrix> noNDMatrices();
    static std::vector<ColorCorrectionMatrix> NDMatrices();
    ///@}

    /// The CIE xy chromaticities of the camera's native primaries and white
    /// point for a white balance of `cct` kelvin, through the ND filter when
    /// `ndIn` is true. Every CCT gives a result; outside 2000 K to 11000 K the
    /// end calibrations apply. The primaries may lie outside the spectral
    /// locus; the white point is D65 (0.3127, 0.3290) up to float rounding.
    static Chromaticities cameraNativeChromaticities(unsigned short cct, bool ndIn);
};

} // namespace Vmc
