// A fraction: signed numerator over unsigned denominator.
//
// A denominator of 0 marks a magnitude too large to represent (numerator +1
// or -1) or, with a numerator of 0, a value that is not a number.
#pragma once

#include <cstdint>

#include "Export.h"

namespace Vmc {

class VMC_EXPORT Rational {
public:
    std::int32_t numerator = 0;
    std::uint32_t denominator = 1;

    Rational() = default;
    Rational(std::int32_t numerator_, std::uint32_t denominator_)
        : numerator(numerator_), denominator(denominator_) {}

    // The simplest fraction within 2^-30 (relative, for magnitudes of 1 and
    // above) of `value`, found by continued-fraction expansion.
    explicit Rational(double value);
};

// x - floor(x + tolerance): the fractional part of x, where a value less than
// the tolerance below the next integer counts as that integer.
VMC_EXPORT double frac(double x, double tolerance);

// Denominator of the simplest fraction within `tolerance` of x (x >= 0).
VMC_EXPORT double denom(double x, double tolerance);

VMC_EXPORT double square(double x);

} // namespace Vmc
