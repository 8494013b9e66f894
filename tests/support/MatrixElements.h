// A matrix's nine elements as an array, row-major, for exact comparisons in
// tests (EXPECT_EQ on arrays prints the elements that differ).
#pragma once

#include <array>

#include <VellMetadataContainer/Matrix33.h>

namespace Vmc::testing {

using Elements = std::array<double, 9>;

inline Elements elements(const Matrix33& m)
{
    return {m.m00, m.m01, m.m02, m.m10, m.m11, m.m12, m.m20, m.m21, m.m22};
}

inline Matrix33 matrixOf(const Elements& e)
{
    return Matrix33(e[0], e[1], e[2], e[3], e[4], e[5], e[6], e[7], e[8]);
}

} // namespace Vmc::testing
