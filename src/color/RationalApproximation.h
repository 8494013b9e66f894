// SPDX-License-Identifier: Apache-2.0
// The steps of building a fraction from a double, open to the tests so that
// they can run the same steps over another way of finding the denominator.
#pragma once

#include <VellMetadataContainer/Rational.h>

namespace Vmc::approximation {

// The finder of the denominator: `denom`, or an equivalent.
using DenominatorOf = double (*)(double x, double tolerance);

// The fraction `Rational(value)` builds, with its denominator found by
// `denominatorOf`.
Rational rationalFrom(double value, DenominatorOf denominatorOf);

// The tolerance within which `Rational(value)` approximates a magnitude:
// 2^-30 below 1, else 2^-30 relative to the magnitude.
double toleranceFor(double magnitude);

// Distinct sub-expansions that one `denom` call evaluates at most before it
// gives up with NaN, and the deepest nesting it follows.
constexpr long kMaxSubExpansions = 1L << 17;
constexpr int kMaxDepth = 4096;

} // namespace Vmc::approximation
