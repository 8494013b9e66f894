// SPDX-License-Identifier: Apache-2.0
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

} // namespace Vmc::testing
