// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/Matrix33.h>

#include <limits>
#include <type_traits>

namespace Vmc {

static_assert(std::is_trivially_copyable_v<Matrix33> && std::is_trivially_destructible_v<Matrix33>,
              "a matrix is nine doubles and nothing else");
static_assert(sizeof(Matrix33) == 9 * sizeof(double), "a matrix is nine doubles and nothing else");
// Rounding a product to float relies on IEEE arithmetic: a double beyond the
// float range becomes an infinity of its sign, a NaN stays a NaN.
static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559,
              "IEEE single and double precision");

namespace {

// One output component: (a0 * b0 + a1 * b1) + a2 * b2, in double.
double dot3(double a0, double a1, double a2, double b0, double b1, double b2)
{
    return (a0 * b0 + a1 * b1) + a2 * b2;
}

} // namespace

Matrix33::Matrix33(double weight, const Matrix33& a, const Matrix33& b)
{
    const double rest = 1.0 - weight;
    m00 = weight * b.m00 + rest * a.m00;
    m01 = weight * b.m01 + rest * a.m01;
    m02 = weight * b.m02 + rest * a.m02;
    m10 = weight * b.m10 + rest * a.m10;
    m11 = weight * b.m11 + rest * a.m11;
    m12 = weight * b.m12 + rest * a.m12;
    m20 = weight * b.m20 + rest * a.m20;
    m21 = weight * b.m21 + rest * a.m21;
    m22 = weight * b.m22 + rest * a.m22;
}

Matrix33 Matrix33::transpose() const
{
    return {m00, m10, m20,
            m01, m11, m21,
            m02, m12, m22};
}

Matrix33 Matrix33::operator+(const Matrix33& o) const
{
    return {m00 + o.m00, m01 + o.m01, m02 + o.m02,
            m10 + o.m10, m11 + o.m11, m12 + o.m12,
            m20 + o.m20, m21 + o.m21, m22 + o.m22};
}

Vec3 Matrix33::operator*(const Vec3& v) const
{
    const double x = v.x, y = v.y, z = v.z;
    return Vec3(static_cast<float>(dot3(m00, m01, m02, x, y, z)),
                static_cast<float>(dot3(m10, m11, m12, x, y, z)),
                static_cast<float>(dot3(m20, m21, m22, x, y, z)));
}

Matrix33 Matrix33::operator*(const Matrix33& b) const
{
    return {dot3(m00, m01, m02, b.m00, b.m10, b.m20),
            dot3(m00, m01, m02, b.m01, b.m11, b.m21),
            dot3(m00, m01, m02, b.m02, b.m12, b.m22),
            dot3(m10, m11, m12, b.m00, b.m10, b.m20),
            dot3(m10, m11, m12, b.m01, b.m11, b.m21),
            dot3(m10, m11, m12, b.m02, b.m12, b.m22),
            dot3(m20, m21, m22, b.m00, b.m10, b.m20),
            dot3(m20, m21, m22, b.m01, b.m11, b.m21),
            dot3(m20, m21, m22, b.m02, b.m12, b.m22)};
}

Vec3 operator*(const Vec3& v, const Matrix33& m)
{
    const double x = v.x, y = v.y, z = v.z;
    return Vec3(static_cast<float>(dot3(x, y, z, m.m00, m.m10, m.m20)),
                static_cast<float>(dot3(x, y, z, m.m01, m.m11, m.m21)),
                static_cast<float>(dot3(x, y, z, m.m02, m.m12, m.m22)));
}

} // namespace Vmc
