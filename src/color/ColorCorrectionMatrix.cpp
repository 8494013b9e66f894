// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <iterator>
#include <stdexcept>

namespace Vmc {

ColorCorrectionMatrix::ColorCorrectionMatrix(unsigned short cct, double weight, const ColorCorrectionMatrix& a,
                                             const ColorCorrectionMatrix& b)
    : cct_(cct), matrix_(weight, a.matrix_, b.matrix_)
{
}

int ColorCorrectionMatrix::operator<(const ColorCorrectionMatrix& other) const
{
    if (cct_ < other.cct_)
        return -1;
    return cct_ > other.cct_ ? 1 : 0;
}

Vec3 ColorCorrectionMatrix::operator*(const Vec3& v) const
{
    return v * matrix_;
}

ColorCorrectionMatrixTable::ColorCorrectionMatrixTable(const std::vector<ColorCorrectionMatrix>& matrices)
{
    // Calibration lists come in ascending CCT order, so each entry is tried
    // at the end first; an entry already there with the same CCT is kept.
    for (const ColorCorrectionMatrix& m : matrices)
        entries.emplace_hint(entries.end(), m.cct(), m);
}

double ColorCorrectionMatrixTable::alpha(unsigned short cct, unsigned short lo, unsigned short hi)
{
    const double miredLo = 1.0 / static_cast<double>(lo);
    const double mired = 1.0 / static_cast<double>(cct);
    const double miredHi = 1.0 / static_cast<double>(hi);
    return (miredLo - mired) / (miredLo - miredHi);
}

ColorCorrectionMatrix ColorCorrectionMatrixTable::matrixForCCT(unsigned short cct) const
{
    if (entries.empty())
        throw std::out_of_range("ColorCorrectionMatrixTable::matrixForCCT: the table holds no matrix");

    const ColorCorrectionMatrix& lowest = entries.begin()->second;
    const ColorCorrectionMatrix& highest = entries.rbegin()->second;
    if (cct <= lowest.cct())
        return lowest;
    if (cct >= highest.cct())
        return highest;

    // lowest < cct < highest: hi is the first entry above cct, lo the one
    // before it (at or below cct).
    const auto hi = entries.upper_bound(cct);
    const auto lo = std::prev(hi);
    const double weight = lo->first == 0 ? 1.0 : alpha(cct, lo->first, hi->first);
    return ColorCorrectionMatrix(cct, weight, lo->second, hi->second);
}

} // namespace Vmc
