// SPDX-License-Identifier: Apache-2.0
/// @file
/// A 3x3 matrix of doubles for colour arithmetic.
///
/// Layout, row-major; element `m<r><c>` is row r, column c:
///
/// ~~~
///       | m00 m01 m02 |
///   M = | m10 m11 m12 |
///       | m20 m21 m22 |
/// ~~~
///
/// Vector conventions (v = (x, y, z), a Vec3 of floats widened to double;
/// every sum runs left to right exactly as bracketed, and the result is
/// rounded to float once per component):
///
/// ~~~
///   column vector  r = M * v:  r_i = float((m_i0 x + m_i1 y) + m_i2 z)
///   row vector     r = v * M:  r_j = float((x m_0j + y m_1j) + z m_2j)   (= transpose(M) * v)
/// ~~~
///
/// Matrix operations stay in double throughout:
///
/// ~~~
///   product  C = A * B:        c_ij = (a_i0 b_0j + a_i1 b_1j) + a_i2 b_2j
///   sum      C = A + B:        c_ij = a_ij + b_ij
///   blend    Matrix33(w, A, B): c_ij = w b_ij + (1 - w) a_ij,  1 - w computed once;
///                               w = 0 gives A, w = 1 gives B, any other w
///                               (also outside 0..1) is applied as it is.
/// ~~~
///
/// The arithmetic is compiled inside the library, with floating-point
/// contraction off, so the rounding described above holds whatever flags the
/// host uses.
#pragma once

#include "Export.h"
#include "Vec.h"

namespace Vmc {

/// A 3x3 matrix of doubles, row-major, the identity until set; the layout
/// and the rounding of every operation are drawn in Matrix33.h.
class VMC_EXPORT Matrix33 {
public:
    ///@{
    /// Element `m<r><c>`: row r, column c.
    double m00 = 1.0, m01 = 0.0, m02 = 0.0;
    double m10 = 0.0, m11 = 1.0, m12 = 0.0;
    double m20 = 0.0, m21 = 0.0, m22 = 1.0;
    ///@}

    /// The identity.
    constexpr Matrix33() = default;

    /// The nine elements in row-major order.
    constexpr Matrix33(double m00_, double m01_, double m02_,
                       double m10_, double m11_, double m12_,
                       double m20_, double m21_, double m22_)
        : m00(m00_), m01(m01_), m02(m02_),
          m10(m10_), m11(m11_), m12(m12_),
          m20(m20_), m21(m21_), m22(m22_) {}

    ///@{
    /// Copyable as a plain value.
    constexpr Matrix33(const Matrix33&) = default;
    constexpr Matrix33& operator=(const Matrix33&) = default;
    ///@}

    /// Blend: weight * b + (1 - weight) * a, element by element.
    Matrix33(double weight, const Matrix33& a, const Matrix33& b);

    /// The transpose: rows become columns.
    Matrix33 transpose() const;
    /// Element-by-element sum, this + other.
    Matrix33 operator+(const Matrix33& other) const;

    /// Column-vector product, this * v.
    Vec3 operator*(const Vec3& v) const;

    /// Matrix product, this * other.
    Matrix33 operator*(const Matrix33& other) const;
};

/// Row-vector product, v * m.
VMC_EXPORT Vec3 operator*(const Vec3& v, const Matrix33& m);

} // namespace Vmc
