// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/Rational.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <utility>

#include "RationalApproximation.h"

namespace Vmc {

double frac(double x, double tolerance)
{
    return x - std::floor(x + tolerance);
}

double square(double x)
{
    return x * x;
}

namespace {

// The denominator of the simplest fraction within e of x follows from the
// continued-fraction expansion of x, with the tolerance carried along:
//
//     denom(x, e) = 1   if e > frac(x, e)                   x is an integer within e
//                 = a   if e > f, where r = 1/x,            x is 1/a within e
//                       a = floor(r + e), f = r - a
//                 = denom(frac(1/f, e), e / ((f x)(f x)))   the numerator of f
//                   + a * denom(f, e / (x x))               a times the denominator of f
//
// The two calls expand overlapping tails of the same continued fraction, so
// evaluated as written the work grows like the Fibonacci numbers in the number
// of partial quotients. Their tolerances are rounded along different paths and
// so land on the same double only sometimes; a tail may be shared only when
// its arguments are exactly the same. The value is a pure function of the two
// doubles, so each distinct (x, e) pair, told apart by bit pattern, is
// expanded once and its result remembered: a remembered result is the one the
// repeated expansion computes, and every sum is formed from the same terms in
// the same order, so the denominator is the one of the recursion as written.
//
// An argument that is NaN, or a tolerance that is not positive, reaches
// neither base case and hands the same to its sub-expansions: the recursion as
// written never ends. Those expansions give NaN, which carries up to the
// result. For a positive tolerance the tolerance grows at least fourfold every
// two levels ((f x)^2 <= 1/4), so the nesting stays far below kMaxDepth. The
// distinct sub-expansions number a few dozen for tolerances near 2^-30 and a
// few ten thousand for the smallest normal ones; only subnormal tolerances
// go past kMaxSubExpansions. Beyond either bound the result is NaN too.
class DenominatorExpansion {
public:
    double of(double x, double e, int depth = 0)
    {
        if (std::isnan(x) || !(e > 0.0) || depth > approximation::kMaxDepth ||
            expanded_ >= approximation::kMaxSubExpansions)
            return std::numeric_limits<double>::quiet_NaN();

        const Key key{bits(x), bits(e)};
        const auto known = known_.find(key);
        if (known != known_.end())
            return known->second;
        ++expanded_;

        double result;
        if (e > frac(x, e)) {
            result = 1.0;
        } else {
            const double r = 1.0 / x;
            const double a = std::floor(r + e);
            const double f = r - a;
            if (e > f)
                result = a;
            else
                result = of(frac(1.0 / f, e), e / square(f * x), depth + 1) + a * of(f, e / square(x), depth + 1);
        }
        known_.emplace(key, result);
        return result;
    }

private:
    using Key = std::pair<std::uint64_t, std::uint64_t>;

    static std::uint64_t bits(double value)
    {
        std::uint64_t out;
        std::memcpy(&out, &value, sizeof out);
        return out;
    }

    std::map<Key, double> known_;
    long expanded_ = 0;
};

// The low 32 bits of d truncated toward zero to a 64-bit integer. A d that is
// not a number or beyond the 64-bit range names no fraction: 0.
std::uint32_t lowWordOfTruncation(double d)
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (!(d > -kTwoTo63 && d < kTwoTo63))
        return 0;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(d)));
}

} // namespace

double denom(double x, double tolerance)
{
    return DenominatorExpansion().of(x, tolerance);
}

namespace approximation {

double toleranceFor(double magnitude)
{
    constexpr double kTwoToMinus30 = 9.313225746154785e-10;
    return magnitude < 1.0 ? kTwoToMinus30 : magnitude * kTwoToMinus30;
}

Rational rationalFrom(double value, DenominatorOf denominatorOf)
{
    if (std::isnan(value))
        return Rational(0, 0);
    const bool negative = value < 0.0; // negative zero is zero with a positive sign
    const std::int32_t sign = negative ? -1 : 1;
    const double magnitude = negative ? -value : value;
    if (magnitude >= 2147483647.5) // infinities too
        return Rational(sign, 0);

    const double tolerance = toleranceFor(magnitude);
    std::uint32_t denominator = lowWordOfTruncation(denominatorOf(magnitude, tolerance));
    if (denominator == 0) {
        // Above 32768 the reciprocal of a magnitude lies within its relative
        // tolerance of 0, so the expansion of the whole magnitude stops at
        // once with no denominator. The fractional part, approximated within
        // the same absolute tolerance, gives the denominator instead.
        denominator = lowWordOfTruncation(denominatorOf(magnitude - std::floor(magnitude), tolerance));
    }

    // Denominators below 2^32 and magnitudes below 2^31 keep the product far
    // inside double's range; a numerator beyond 32 bits is held at the largest.
    const double rounded = std::floor(static_cast<double>(denominator) * magnitude + 0.5);
    const std::int32_t numerator = rounded >= 2147483647.0 ? std::numeric_limits<std::int32_t>::max()
                                                           : static_cast<std::int32_t>(rounded);
    return Rational(sign * numerator, denominator);
}

} // namespace approximation

Rational::Rational(double value) : Rational(approximation::rationalFrom(value, denom)) {}

} // namespace Vmc
