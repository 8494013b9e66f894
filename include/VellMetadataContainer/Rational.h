// SPDX-License-Identifier: Apache-2.0
/// @file
/// Fractions, and the continued-fraction helpers that find them.
#pragma once

#include <cstdint>

#include "Export.h"

namespace Vmc {

/// A fraction: signed numerator over unsigned denominator.
///
/// A denominator of 0 marks a magnitude too large to represent (numerator +1
/// or -1) or, with a numerator of 0, a value that is not a number.
class VMC_EXPORT Rational {
public:
    std::int32_t numerator = 0;    ///< carries the sign
    std::uint32_t denominator = 1; ///< 0 for a magnitude too large, or not a number

    /// 0/1.
    Rational() = default;
    /// The fraction as given, unreduced.
    Rational(std::int32_t numerator_, std::uint32_t denominator_)
        : numerator(numerator_), denominator(denominator_) {}

    /// The simplest fraction within 2^-30 of `value` (relative to the magnitude
    /// for magnitudes of 1 and above), found by continued-fraction expansion;
    /// the sign goes on the numerator. Magnitudes of 2147483647.5 and above,
    /// infinities too, give +1/0 or -1/0; NaN gives 0/0. Above 32768 the
    /// fractional part is approximated within the same tolerance.
    explicit Rational(double value);
};

/// x - floor(x + tolerance): the fractional part of x, where a value less than
/// the tolerance below the next integer counts as that integer.
VMC_EXPORT double frac(double x, double tolerance);

/// Denominator of the simplest fraction within `tolerance` of x (x >= 0), as
/// a double. NaN where the expansion never ends: x NaN, or a tolerance that
/// is NaN or not positive (and for tolerances in the subnormal range, whose
/// expansion outgrows a fixed bound on the work).
VMC_EXPORT double denom(double x, double tolerance);

/// x * x
VMC_EXPORT double square(double x);

} // namespace Vmc
